#include "game/screens/OptionsScene.h"

#include "engine/audio/SoundPlayer.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "engine/ui/ControlKeys.h"
#include "game/app/GameApplication.h"
#include "game/screens/MainMenuScene.h"
#include "game/screens/SceneChildren.h"

namespace {

const char* const kOnTemplate = "Options_OnButton";

} // namespace

GOptionsScene::GOptionsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

void GOptionsScene::OnLoaded() {
    BaseNode* scene = findChildOf(this, "Scene");
    m_soundSlider = findChildOf<SliderNode>(scene, "SoundSlider");
    m_musicSlider = findChildOf<SliderNode>(scene, "MusicSlider");
    m_muteButton = findChildOf<ButtonNode>(scene, "MuteButton");
    m_fullScreenButton = findChildOf<ButtonNode>(scene, "FullscreenButton");
    m_cursorButton = findChildOf<ButtonNode>(scene, "CursorButton");
    m_dragViaClickButton = findChildOf<ButtonNode>(scene, "DragViaClickButton");
}

void GOptionsScene::setToggleLook(ButtonNode* button, bool on) {
    if (button == nullptr)
        return;
    button->setTemplateName(nameOf(on ? kOnTemplate : "Options_OffButton"));
    button->setText(on ? u"%Options_On%" : u"%Options_Off%");
}

bool GOptionsScene::isToggleOn(const ButtonNode* button) {
    return button != nullptr && button->getTemplateName() == nameOf(kOnTemplate);
}

bool GOptionsScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GBaseSceneNode::OnSceneSwitch(event);
    if (event.getTo() != this)
        return false;
    if (const CProfileParameters* player = currentPlayer())
        showSettings(*player);
    return true;
}

// A value the profile lacks reads as 0.
void GOptionsScene::showSettings(const CProfileParameters& player) {
    setToggleLook(m_fullScreenButton, player.getBool("FullScreen"));
    setToggleLook(m_cursorButton, player.getBool("WindowsCursor"));
    if (m_soundSlider != nullptr)
        m_soundSlider->setValue(player.getFloat("SoundVolume"));
    if (m_musicSlider != nullptr)
        m_musicSlider->setValue(player.getFloat("MusicVolume"));
    setToggleLook(m_muteButton, !player.getBool("SoundOn"));
    setToggleLook(m_dragViaClickButton, player.getBool("DragViaClick"));
}

// The sound's sample plays once at a time, however fast the slider moves.
bool GOptionsScene::OnValueChanged(CEventNode& event) {
    if (GBaseSceneNode::OnValueChanged(event))
        return true;
    CProfileParameters* player = currentPlayer();
    BaseNode* node = event.getNode();
    if (player == nullptr || node == nullptr)
        return false;
    if (node == m_soundSlider) {
        player->setFloat("SoundVolume", m_soundSlider->getValue());
        player->notifyChanged();
        theApplication->applySoundSettings();
        const CNameId sample = nameOf("SoundVolumeChange");
        CSoundPlayer* sound = getSoundPlayer();
        if (sound != nullptr && !sound->isCuePlaying(sample))
            sound->playCue(sample, false, 0);
    } else if (node == m_musicSlider) {
        player->setFloat("MusicVolume", m_musicSlider->getValue());
        player->notifyChanged();
        theApplication->applySoundSettings();
    }
    return false;
}

// The toggles let the press go on: only the back button is reported handled.
bool GOptionsScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    BaseNode* control = event.getNode();
    if (control == nullptr)
        return false;
    if (control->getName() == nameOf("BackButton")) {
        navigateBack(0, nameOf(openedFromMainMenu() ? "NavBackFrom" : "NavBackFrom2"),
                     nameOf("NavBackTo"));
        return true;
    }
    CProfileParameters* player = currentPlayer();
    if (player == nullptr)
        return false;
    if (control == m_muteButton)
        toggleMute(*player);
    else if (control == m_fullScreenButton)
        toggleFullScreen(*player);
    else if (control == m_cursorButton)
        toggleCursor(*player);
    else if (control == m_dragViaClickButton)
        toggleDragViaClick(*player);
    return false;
}

// The click that switches the sound back on is heard.
void GOptionsScene::toggleMute(CProfileParameters& player) {
    const bool muted = !isToggleOn(m_muteButton);
    setToggleLook(m_muteButton, muted);
    player.setBool("SoundOn", !muted);
    player.setBool("MusicOn", !muted);
    player.notifyChanged();
    theApplication->applySoundSettings();
    if (!muted)
        playCue("ButtonClick");
}

// A desktop too low for the window keeps the game in full screen, with a word why.
void GOptionsScene::toggleFullScreen(CProfileParameters& player) {
    const bool fullScreen = !isToggleOn(m_fullScreenButton);
    if (!fullScreen && !theApplication->canShowWindow()) {
        CArray<CStringW> buttons;
        buttons.append(u"%OkBtn%");
        showMessageBox(nameOf("MessageBox1Button"), buttons, u"%Warning%",
                       u"%Options_CantGoWindow%");
        return;
    }
    setToggleLook(m_fullScreenButton, fullScreen);
    player.setBool("FullScreen", fullScreen);
    player.notifyChanged();
    theApplication->applyDisplaySettings();
}

void GOptionsScene::toggleCursor(CProfileParameters& player) {
    const bool systemCursor = !isToggleOn(m_cursorButton);
    setToggleLook(m_cursorButton, systemCursor);
    player.setBool("WindowsCursor", systemCursor);
    player.notifyChanged();
    theApplication->applyDisplaySettings();
}

// The level reads the setting whenever the player moves a client.
void GOptionsScene::toggleDragViaClick(CProfileParameters& player) {
    const bool dragViaClick = !isToggleOn(m_dragViaClickButton);
    setToggleLook(m_dragViaClickButton, dragViaClick);
    player.setBool("DragViaClick", dragViaClick);
    player.notifyChanged();
}

// Esc and Enter leave as the back button does, sliding when the main menu lies below.
bool GOptionsScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    const uint32_t key = event.getVirtualKey();
    if (key != kKeyEscape && key != kKeyEnter)
        return false;
    if (openedFromMainMenu())
        navigateBack(0, nameOf("NavBackFromSlide"), nameOf("NavBackToSlide"));
    else
        navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    return true;
}

bool GOptionsScene::openedFromMainMenu() const {
    const SceneNode* previous = getPreviousScene();
    return previous != nullptr && previous->isKindOf(GMainMenuScene::kTypeId);
}
