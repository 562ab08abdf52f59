#pragma once

#include <cstdint>

#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"

class CProfileParameters;

// The title menu, "scenes/MainMenuScene.qscn": it greets the current player with the icon of
// the player's difficulty, lets the heroine on the background play an idle animation every 5 to
// 8 seconds and leads to player selection, the map (through the first comic for a new player),
// options, credits and awards; its quit button ends the game. Whenever it comes into view it
// lets go of content nothing uses any more, and without a current player it sends the user to
// player selection at once. Reached from the results screen, it shows a scrolling credits tip
// instead of the menu until a control is pressed.
class GMainMenuScene : public NodeClass<GMainMenuScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1103;
    static constexpr const char16_t* kTypeName = u"GMainMenuScene";
    static constexpr int32_t kIdleMinMs = 5000;
    static constexpr int32_t kIdleMaxMs = 8000;

    GMainMenuScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

protected:
    ~GMainMenuScene() override = default;

private:
    void greetPlayer(CProfileParameters* player);
    void showCreditsTip();
    void hideCreditsTip();
    // The named screen over the menu; none when its file does not load.
    SceneNode* openScreen(const char16_t* file, bool keepVisible);
    void startNewGame();

    BaseNode* m_menu = nullptr;
    TextNode* m_welcomeText = nullptr;
    BaseNode* m_difficultyIcon = nullptr;
    TextNode* m_creditsTipText = nullptr;
    BaseNode* m_background = nullptr;
    BaseNode* m_heroine = nullptr;
    BaseNode* m_clipNode = nullptr;
    int32_t m_idleCountdownMs = 0;
    bool m_creditsTipShown = false;
};
