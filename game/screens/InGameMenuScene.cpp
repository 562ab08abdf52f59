#include "game/screens/InGameMenuScene.h"

#include "engine/ui/ControlKeys.h"
#include "game/screens/MainMenuScene.h"

namespace {

constexpr uint32_t kMapSceneType = 1108;
constexpr uint32_t kLoadingSceneType = 1111;

} // namespace

GInGameMenuScene::GInGameMenuScene(const CContentKey& key, BaseNode* parent,
                                   SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

bool GInGameMenuScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    return GBaseSceneNode::OnSceneSwitch(event) || event.getTo() == this;
}

bool GInGameMenuScene::OnSceneSwitchDone(CEventSceneSwitchFinished& event) {
    return GBaseSceneNode::OnSceneSwitchDone(event) || event.getTo() == this;
}

// The loading screen, returned to, plays the level again without its start pop-ups.
bool GInGameMenuScene::OnButtonPressed(CEventControlClicked& event) {
    if (GBaseSceneNode::OnButtonPressed(event))
        return true;
    const BaseNode* control = event.getNode();
    if (control == nullptr)
        return false;
    const CNameId name = control->getName();
    const CNameId none = nameOf("None");
    if (name == nameOf("ResumeButton"))
        resume();
    else if (name == nameOf("RestartButton"))
        navigateBackToType(kLoadingSceneType, none, nameOf("NavBackTo"));
    else if (name == nameOf("OptionsButton"))
        openSceneFile(u"scenes/OptionsScene.qscn", true, none, nameOf("NavTo2"));
    else if (name == nameOf("HelpButton"))
        openSceneFile(u"scenes/HelpScene.qscn", true, none, nameOf("NavTo"));
    else if (name == nameOf("MapButton"))
        navigateBackToType(kMapSceneType, none, nameOf("NavBackTo"));
    else if (name == nameOf("ExitGameButton"))
        navigateBackToType(GMainMenuScene::kTypeId, none, nameOf("NavBackTo"));
    else
        return false;
    return true;
}

bool GInGameMenuScene::OnKeyUp(CEventInputKeyUp& event) {
    if (GBaseSceneNode::OnKeyUp(event))
        return true;
    if (event.getVirtualKey() != kKeyEscape)
        return false;
    resume();
    return true;
}

void GInGameMenuScene::resume() {
    navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
}
