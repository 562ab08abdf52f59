#pragma once

#include <cstdint>

#include "engine/ui/ListNode.h"
#include "game/app/BaseSceneNode.h"

class CProfileParameters;

// Player selection, "scenes/SelectPlayerScene.qscn": the players in a list, each with the icon
// of their difficulty. The user chooses one and confirms it (OK, Enter or Esc), which makes it
// the current player and reloads what depends on the player: sound and display settings, the
// level list of the player's difficulty and the awards. A new player comes from the name
// entry, which opens by itself when there is no player at all; a player is deleted after a
// confirmation and leaves the game without a current player until one is confirmed.
class GSelectPlayerScene : public NodeClass<GSelectPlayerScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1104;
    static constexpr const char16_t* kTypeName = u"GSelectPlayerScene";
    static constexpr int32_t kMaxPlayers = 8;

    GSelectPlayerScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnMessageBoxResult(CEventMessageBoxResult& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;

protected:
    ~GSelectPlayerScene() override = default;

private:
    // One item per player in stored order, the item selected unless it is -1; the new-player
    // button moves under the last row.
    void fillPlayerList(int32_t selectItem);
    // Makes the selected player current and goes back; nothing while no item can be.
    void confirmPlayer();
    int32_t currentPlayerIndex() const;
    int32_t playerCount() const;
    void showPlayerDifficulties();
    void placeNewPlayerButton();
    void updateButtons();
    void deleteSelectedPlayer();
    void reloadPlayerData(CProfileParameters& player);
    void goBack();

    ListNode* m_playersList = nullptr;
    ControlNode* m_okButton = nullptr;
    ControlNode* m_newPlayerButton = nullptr;
    ControlNode* m_deletePlayerButton = nullptr;
    int32_t m_rememberedPlayerCount = 0;
};
