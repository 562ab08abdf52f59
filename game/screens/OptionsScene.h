#pragma once

#include <cstdint>

#include "engine/ui/ButtonNode.h"
#include "engine/ui/SliderNode.h"
#include "game/app/BaseSceneNode.h"

class CProfileParameters;

// The options, "scenes/OptionsScene.qscn": the current player's sound and music volumes, mute,
// full screen or a window, the system cursor or the game's own, and whether a client is
// dropped by a second click. Every change is stored in the player's profile, saved and applied
// at once; without a current player nothing is changed. The four toggles are buttons whose
// look is their state: a toggle is on exactly while it wears the template "Options_OnButton".
class GOptionsScene : public NodeClass<GOptionsScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1106;
    static constexpr const char16_t* kTypeName = u"GOptionsScene";

    GOptionsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnValueChanged(CEventNode& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;

    static bool isToggleOn(const ButtonNode* button);

protected:
    ~GOptionsScene() override = default;

private:
    // Nothing for an absent button.
    static void setToggleLook(ButtonNode* button, bool on);
    void showSettings(const CProfileParameters& player);
    void toggleMute(CProfileParameters& player);
    void toggleFullScreen(CProfileParameters& player);
    void toggleCursor(CProfileParameters& player);
    void toggleDragViaClick(CProfileParameters& player);
    bool openedFromMainMenu() const;

    SliderNode* m_soundSlider = nullptr;
    SliderNode* m_musicSlider = nullptr;
    ButtonNode* m_muteButton = nullptr;
    ButtonNode* m_fullScreenButton = nullptr;
    ButtonNode* m_cursorButton = nullptr;
    ButtonNode* m_dragViaClickButton = nullptr;
};
