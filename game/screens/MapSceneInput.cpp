#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/ProfileManager.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/TextNode.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelConfig.h"
#include "game/app/LevelsConfiguration.h"
#include "game/app/MoneyText.h"
#include "game/screens/MapLocationButton.h"
#include "game/screens/MapScene.h"
#include "game/screens/SceneChildren.h"

namespace {

constexpr uint32_t kKeyOne = 49;
constexpr uint32_t kKeyFive = 53;
constexpr uint32_t kKeyU = 85;
constexpr int32_t kEverythingUnlocked = 1000;

bool hasState(const BaseNode& node, const char* name) {
    const NodeState* state = node.getCurrentState();
    return state != nullptr && state->getName() == nameOf(name);
}

CStringW dictionaryText(const char* key, int32_t parameter) {
    CStringW value;
    value.append(parameter);
    return CEngineServices::instance()->getDictionary()->substituteParams(key, value, CStringW(),
                                                                          CStringW(), CStringW());
}

void setTextOf(BaseNode* window, const char* name, const CStringW& text) {
    if (TextNode* node = findChildOf<TextNode>(window, name))
        node->setText(text);
}

} // namespace

bool GMapScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    BaseNode* control = event.getNode();
    if (control == nullptr)
        return false;
    if (m_actButtonsNode != nullptr && control->getParent() == m_actButtonsNode)
        return pressActButton(*control);
    if (m_levelButtonsNode != nullptr && control->getParent() == m_levelButtonsNode)
        return pressLevelButton(*control);
    if (control->getName() == nameOf("BackButton")) {
        navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
        return true;
    }
    if (control->getName() == nameOf("PlayButton")) {
        openSceneFile(u"scenes/LoadingLevelScene.qscn", false, nameOf("NavFrom"), nameOf("NavTo"));
        return true;
    }
    return false;
}

// Never handled: the press goes on.
bool GMapScene::pressActButton(BaseNode& button) {
    for (uint32_t act = 0; act < m_actButtons.size(); ++act)
        if (m_actButtons[act] == &button && int32_t(act) != m_selectedAct) {
            turnPageTo(int32_t(act));
            break;
        }
    return false;
}

// The level pressed becomes the current one, and the player's choice is saved at once.
bool GMapScene::pressLevelButton(BaseNode& button) {
    const int32_t slot = slotOf(&button);
    if (slot < 0)
        return false;
    if (m_currentLevelButton != nullptr)
        m_currentLevelButton->setCurrent(false);
    m_currentLevelButton = m_levelButtons[uint32_t(slot)];
    m_currentLevelButton->setCurrent(true);
    if (CProfileParameters* player = currentPlayer()) {
        player->setInt("LevelIndex", slot + m_selectedAct * kLevelsPerAct + 1);
        player->setInt(slotKey(m_selectedAct), slot);
    }
    if (CProfileManager* profiles = getProfiles())
        profiles->saveUserProfiles();
    return true;
}

bool GMapScene::OnNodeHovered(CEventControlHovered& event) {
    GBaseSceneNode::OnNodeHovered(event);
    BaseNode* control = event.getGaining();
    if (control == nullptr)
        return false;
    if (m_actButtonsNode != nullptr && control->getParent() == m_actButtonsNode) {
        control->setChildrenState(nameOf("HLOn"), nullptr);
    } else if (m_levelButtonsNode != nullptr && control->getParent() == m_levelButtonsNode) {
        m_hoverCountdownMs = kInfoDelayMs;
        m_hoveredSlot = slotOf(control);
    }
    return false;
}

bool GMapScene::OnNodeUnhovered(CEventControlUnhovered& event) {
    GBaseSceneNode::OnNodeUnhovered(event);
    BaseNode* control = event.getLosing();
    if (control == nullptr)
        return false;
    if (m_actButtonsNode != nullptr && control->getParent() == m_actButtonsNode) {
        control->setChildrenState(nameOf("HLOff"), nullptr);
    } else if (m_levelButtonsNode != nullptr && control->getParent() == m_levelButtonsNode) {
        hideLevelInfo();
        m_hoverCountdownMs = 0;
    }
    return false;
}

void GMapScene::showLevelInfo(int32_t levelIndex, int32_t slot) {
    if (m_infoWindow == nullptr || slot < 0 || uint32_t(slot) >= m_levelButtons.size())
        return;
    if (!hasState(*m_infoWindow, "OnAppear"))
        m_infoWindow->setState(nameOf("OnAppear"), nullptr, CNameId());
    const CVector3d& button = m_levelButtons[uint32_t(slot)]->getPosition();
    const CVector3d& buttons = m_levelButtonsNode->getPosition();
    m_infoWindow->setPosition(
        CVector3d(button.x + buttons.x, button.y + buttons.y, m_infoWindow->getPosition().z));
    fillLevelInfo(levelIndex, slot);
}

// A level without a record has no goals to show: its money text stays empty.
void GMapScene::fillLevelInfo(int32_t levelIndex, int32_t slot) {
    setTextOf(m_infoWindow, "ActText", dictionaryText("Map_Act", levelIndex / kLevelsPerAct + 1));
    setTextOf(m_infoWindow, "LevelText", dictionaryText("Map_Level", slot + 1));
    setTextOf(m_infoWindow, "MoneyLabelText", u"%Map_Goal%\n%Map_GoalEx%\n%Map_GoalMaster%");
    const LevelsConfiguration* levels =
        theApplication != nullptr ? theApplication->getLevelList() : nullptr;
    const GLevelConfig* record = levels != nullptr ? levels->getLevel(levelIndex) : nullptr;
    CStringW goals;
    if (record != nullptr)
        goals.append(formatMoneyText(int32_t(record->targetMoney)))
            .append(u"\n")
            .append(formatMoneyText(int32_t(record->targetExpertMoney)))
            .append(u"\n")
            .append(formatMoneyText(int32_t(record->targetMasterMoney)));
    setTextOf(m_infoWindow, "MoneyText", goals);
}

void GMapScene::hideLevelInfo() {
    if (m_infoWindow != nullptr && m_infoWindow->isVisible())
        m_infoWindow->setState(nameOf("OnDisappear"), nullptr, CNameId());
}

// The comics and an unlocked map, for the developer mode only. Leaving for a comic, the
// cache keeps only what is still shown.
bool GMapScene::OnKeyUp(CEventInputKeyUp& event) {
    const uint32_t key = event.getVirtualKey();
    if (!developerMode || ((key < kKeyOne || key > kKeyFive) && key != kKeyU))
        return GBaseSceneNode::OnKeyUp(event);
    if (key == kKeyU) {
        if (CProfileParameters* player = currentPlayer()) {
            player->setInt("MaxUnlockedLevelIndex", kEverythingUnlocked);
            refreshLevelButtons();
            player->notifyChanged();
        }
        return true;
    }
    if (theApplication != nullptr && theApplication->getContentManager() != nullptr)
        theApplication->getContentManager()->releaseUnused();
    CStringW comic(u"scenes/ComicsScene");
    comic.append(int32_t(key - kKeyOne) + 1).append(u".qscn");
    openSceneFile(comic, false, nameOf("NavFrom"), nameOf("NavTo"));
    return true;
}

// The first button of a box over the map quits the game.
bool GMapScene::OnMessageBoxResult(CEventMessageBoxResult& event) {
    if (GBaseSceneNode::OnMessageBoxResult(event))
        return true;
    if (event.getResult() == 0)
        if (CEngine* engine = getEngine())
            engine->closeDevice();
    return true;
}
