#include "game/screens/CreditsScene.h"

#include "engine/platform/InputEvents.h"
#include "engine/ui/ControlKeys.h"
#include "game/screens/SceneChildren.h"

GCreditsScene::GCreditsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

bool GCreditsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    return GBaseSceneNode::OnSceneSwitch(event) || event.getTo() == this;
}

bool GCreditsScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control == nullptr || control->getName() != nameOf("BackButton"))
        return false;
    goBack();
    return true;
}

bool GCreditsScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    const uint32_t key = event.getVirtualKey();
    if (key != kKeyEscape && key != kKeyEnter)
        return false;
    goBack();
    return true;
}

void GCreditsScene::goBack() {
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackToSlide"));
}
