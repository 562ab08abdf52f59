#include "game/screens/SelectPlayerScene.h"

#include <algorithm>

#include "engine/core/Engine.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "engine/ui/ControlKeys.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameApplication.h"
#include "game/app/LevelsConfiguration.h"
#include "game/screens/SceneChildren.h"

namespace {

const char16_t* const kNameEntryFile = u"scenes/SelectPlayerInputNameScene.qscn";

void enable(ControlNode* control, bool enabled) {
    if (control != nullptr)
        control->setEnabled(enabled);
}

} // namespace

GSelectPlayerScene::GSelectPlayerScene(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GSelectPlayerScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_playersList = findChildOf<ListNode>(scene, "PlayersList");
    m_okButton = findChildOf<ControlNode>(scene, "OkButton");
    m_newPlayerButton = findChildOf<ControlNode>(scene, "NewPlayerButton");
    m_deletePlayerButton = findChildOf<ControlNode>(scene, "DeletePlayerButton");
}

// Coming back with more players than it was left with means the name entry made one: it is
// the last, and it is selected.
bool GSelectPlayerScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    if (event.getFrom() == this) {
        m_rememberedPlayerCount = playerCount();
        return true;
    }
    if (event.getTo() != this)
        return false;
    if (event.getForward() != 0) {
        fillPlayerList(currentPlayerIndex());
    } else {
        const int32_t count = playerCount();
        fillPlayerList(count != m_rememberedPlayerCount ? count - 1 : -1);
        if (m_playersList != nullptr)
            m_playersList->setFocused(true);
    }
    updateButtons();
    return true;
}

bool GSelectPlayerScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    GBaseSceneNode::OnSceneSwitchDone(event);
    if (event.getTo() != this)
        return false;
    if (playerCount() == 0)
        openSceneFile(kNameEntryFile, true, nameOf("NavFrom"), nameOf("NavTo"));
    return true;
}

bool GSelectPlayerScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    BaseNode* control = event.getNode();
    const CNameId name = control != nullptr ? control->getName() : CNameId();
    if (name == nameOf("OkButton")) {
        confirmPlayer();
    } else if (name == nameOf("CancelButton")) {
        goBack();
    } else if (name == nameOf("NewPlayerButton")) {
        openSceneFile(kNameEntryFile, true, nameOf("NavFrom"), nameOf("NavTo"));
    } else if (name == nameOf("DeletePlayerButton")) {
        CArray<CStringW> buttons;
        buttons.append(u"%Yes%");
        buttons.append(u"%No%");
        showMessageBox(nameOf("MessageBox2Buttons"), buttons, CStringW(),
                       u"%SelectPlayer_WantDelete%");
    } else {
        return false;
    }
    return true;
}

// The box's first button is "Yes".
bool GSelectPlayerScene::OnMessageBoxResult(CEventMessageBoxResult& event) {
    if (GBaseSceneNode::OnMessageBoxResult(event))
        return true;
    if (event.getResult() == 0)
        deleteSelectedPlayer();
    return true;
}

// Esc confirms too: the screen has no way to leave without a player but its cancel button.
bool GSelectPlayerScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    const uint32_t key = event.getVirtualKey();
    if (key != kKeyEscape && key != kKeyEnter)
        return false;
    confirmPlayer();
    return true;
}

void GSelectPlayerScene::fillPlayerList(int32_t selectItem) {
    CProfileManager* profiles = getProfiles();
    if (m_playersList == nullptr || profiles == nullptr)
        return;
    const int32_t count = profiles->getProfileCount();
    m_playersList->setItemsCount(count);
    for (int32_t i = 0; i < count; ++i)
        m_playersList->setItemText(i, 0, profiles->getProfile(i)->getName());
    if (selectItem >= 0)
        m_playersList->selectItem(selectItem, true);
    m_playersList->refreshElements();
    showPlayerDifficulties();
    placeNewPlayerButton();
}

// After the selection has scrolled the list: each icon goes on the element that shows its
// player.
void GSelectPlayerScene::showPlayerDifficulties() {
    CProfileManager& profiles = *getProfiles();
    for (int32_t i = 0; i < profiles.getProfileCount(); ++i) {
        const int32_t element = m_playersList->elementIndexOf(i);
        if (element < 0 || uint32_t(element) >= m_playersList->getElementCount())
            continue;
        const bool easy = profiles.getProfile(i)->getInt("PlayerDifficulty") != 0;
        m_playersList->getElement(uint32_t(element))
            ->setChildrenState(nameOf(easy ? "Easy" : "Hard"), nullptr);
    }
}

void GSelectPlayerScene::placeNewPlayerButton() {
    if (m_newPlayerButton == nullptr)
        return;
    const int32_t count = playerCount();
    float y = m_playersList->getPosition().y;
    if (count > 0) {
        y += m_playersList->getElementPosition(m_playersList->elementIndexOf(count - 1)).y +
             m_playersList->getElementSize().y;
    }
    const CVector3d& position = m_newPlayerButton->getPosition();
    m_newPlayerButton->setPosition(CVector3d(position.x, y, position.z));
}

void GSelectPlayerScene::updateButtons() {
    const int32_t count = playerCount();
    enable(m_okButton, count > 0);
    if (m_newPlayerButton != nullptr) {
        m_newPlayerButton->setEnabled(count < kMaxPlayers);
        m_newPlayerButton->setVisible(count < kMaxPlayers);
    }
    enable(m_deletePlayerButton, count > 0);
}

// Removing any player leaves none current, so the user confirms one again.
void GSelectPlayerScene::deleteSelectedPlayer() {
    CProfileManager* profiles = getProfiles();
    if (m_playersList == nullptr || profiles == nullptr)
        return;
    const int32_t selected = m_playersList->getSelectedItem();
    profiles->removeProfile(selected);
    profiles->saveUserProfiles();
    const int32_t count = profiles->getProfileCount();
    fillPlayerList(count > 0 ? std::min(selected, count - 1) : -1);
    updateButtons();
}

void GSelectPlayerScene::confirmPlayer() {
    CProfileManager* profiles = getProfiles();
    if (profiles == nullptr)
        return;
    profiles->setActiveProfile(m_playersList != nullptr ? m_playersList->getSelectedItem() : 0);
    CProfileParameters* player = profiles->getActiveProfile();
    if (player == nullptr)
        return;
    profiles->saveUserProfiles();
    theApplication->applySoundSettings();
    theApplication->applyDisplaySettings();
    reloadPlayerData(*player);
    goBack();
}

// A level list that does not open leaves the list empty; the confirmation goes on.
void GSelectPlayerScene::reloadPlayerData(CProfileParameters& player) {
    LevelsConfiguration& levels = *theApplication->getLevelList();
    levels.clear();
    levels.loadFile(*getEngine()->getFileSystem(), player,
                    theApplication->getObjectConfigurations());
    GAwardTracker& awards = *theApplication->getAwardTracker();
    awards.loadProgress(player.getStringW("AchievementsProgress"));
    awards.loadViewState(player.getStringW("AchievementsViewState"));
}

void GSelectPlayerScene::goBack() {
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackToSlide"));
}

// -1 when there is none.
int32_t GSelectPlayerScene::currentPlayerIndex() const {
    CProfileManager* profiles = getProfiles();
    for (int32_t i = 0; profiles != nullptr && i < profiles->getProfileCount(); ++i) {
        if (profiles->getProfile(i) == profiles->getActiveProfile())
            return i;
    }
    return -1;
}

int32_t GSelectPlayerScene::playerCount() const {
    CProfileManager* profiles = getProfiles();
    return profiles != nullptr ? profiles->getProfileCount() : 0;
}
