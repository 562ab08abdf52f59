#include "game/screens/AwardsScene.h"

#include "engine/scene/NodeState.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/screens/SceneChildren.h"

namespace {

// Award i is shown by the node "Achievement_" i + 1.
CNameId awardNodeName(int32_t award) {
    return CNameId(CString("Achievement_") + CString(award + 1));
}

} // namespace

GAwardsScene::GAwardsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : GMenuPageScene(key, parent, sceneManager) {}

void GAwardsScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_hintNode = findChildOf(scene, "HintNode");
    m_achievementsNode = findChildOf(scene, "AchievementsNode");
    m_hintText = findChildOf<TextNode>(m_hintNode, "HintText");
}

bool GAwardsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    if (GBaseSceneNode::OnSceneSwitch(event))
        return true;
    if (event.getTo() != this)
        return false;
    refreshAwards();
    return true;
}

// A state the profile should not hold (garbage in its list) leaves the node as it is.
void GAwardsScene::refreshAwards() {
    GAwardTracker* awards = theApplication->getAwardTracker();
    if (m_achievementsNode == nullptr || awards == nullptr)
        return;
    bool seenNow = false;
    for (int32_t award = 0; award < GAwardTracker::kAwardCount; ++award) {
        BaseNode* node = m_achievementsNode->findChild(awardNodeName(award), 1);
        if (node == nullptr)
            continue;
        switch (awards->isAchieved(award)) {
        case 0:
            node->setState(nameOf("Off"), nullptr, CNameId());
            break;
        case 1:
            node->setState(nameOf("FirstOn"), nullptr, CNameId());
            awards->setAchieved(award, 2);
            seenNow = true;
            break;
        case 2:
            node->setState(nameOf("On"), nullptr, CNameId());
            node->setChildrenState(nameOf("On"), nullptr);
            break;
        default:
            break;
        }
    }
    if (seenNow)
        awards->save();
}

bool GAwardsScene::OnNodeHovered(CEventControlHovered& event) {
    if (GBaseSceneNode::OnNodeHovered(event))
        return true;
    showHint(event.getGaining());
    return false;
}

// Leaving any node of the gallery hides the hint.
bool GAwardsScene::OnNodeUnhovered(CEventControlUnhovered& event) {
    if (GBaseSceneNode::OnNodeUnhovered(event))
        return true;
    if (m_hintNode == nullptr)
        return false;
    m_hintNode->setState(nameOf("OnDisappear"), nullptr, CNameId());
    return true;
}

// The text follows the award's position among the nodes, the bubble's place its name: the
// scene file keeps "Achievement_" n as the n-th child.
void GAwardsScene::showHint(BaseNode* node) {
    if (m_hintNode == nullptr || node == nullptr || node->getParent() != m_achievementsNode)
        return;
    for (uint32_t award = 0; award < m_achievementsNode->getChildCount(); ++award) {
        if (m_achievementsNode->getChild(award) != node)
            continue;
        const NodeState* shown = node->getCurrentState();
        if (shown != nullptr && m_hintText != nullptr) {
            m_hintText->setText(shown->getName() == nameOf("Off")
                                    ? GAwardTracker::getBeforeTextKey(int32_t(award))
                                    : GAwardTracker::getAfterTextKey(int32_t(award)));
        }
        break;
    }
    m_hintNode->setState(node->getName(), nullptr, CNameId());
    m_hintNode->setState(nameOf("OnAppear"), nullptr, CNameId());
}
