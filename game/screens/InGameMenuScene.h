#pragma once

#include <cstdint>

#include "engine/platform/InputEvents.h"
#include "game/app/BaseSceneNode.h"

// The pause menu over a running level, "scenes/InGameMenuScene.qscn": its buttons resume the
// level (as Escape does), restart it through the loading screen, open the options or the help
// over the menu, or leave for the map or the main menu. The level stands still while it shows.
class GInGameMenuScene : public NodeClass<GInGameMenuScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1118;
    static constexpr const char16_t* kTypeName = u"GInGameMenuScene";

    GInGameMenuScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    // Arriving, the switch goes no further than the menu.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;

protected:
    ~GInGameMenuScene() override = default;

private:
    void resume();
};
