#include "game/screens/AwardUnlockedScene.h"

#include "game/app/AwardTracker.h"
#include "game/screens/SceneChildren.h"

GAwardUnlockedScene::GAwardUnlockedScene(const CContentKey& key, BaseNode* parent,
                                         SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GAwardUnlockedScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_awardDesc = findChildOf<TextNode>(scene, "AwardDesc");
    m_awardPlace = findChildOf<SpriteNode>(scene, "AwardPlace");
}

void GAwardUnlockedScene::setAward(int32_t award) {
    if (award < 0 || award >= GAwardTracker::kAwardCount)
        return;
    if (m_awardDesc != nullptr)
        m_awardDesc->setText(GAwardTracker::getAfterTextKey(award));
    if (m_awardPlace != nullptr)
        m_awardPlace->setState(CNameId(CString("Award_") + CString(award + 1)), nullptr, CNameId());
}

bool GAwardUnlockedScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    return GBaseSceneNode::OnSceneSwitch(event) || event.getTo() == this;
}

bool GAwardUnlockedScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control == nullptr || control->getName() != nameOf("BackButton"))
        return false;
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    return true;
}
