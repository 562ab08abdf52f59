#pragma once

#include <cstdint>

#include "game/app/BaseSceneNode.h"

// The credits page of the main menu, "scenes/CreditsScene.qscn", whose content is all in its
// file. Its back button, Escape and Enter return to the menu, which slides back in.
class GCreditsScene : public NodeClass<GCreditsScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1107;
    static constexpr const char16_t* kTypeName = u"GCreditsScene";

    GCreditsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;

protected:
    ~GCreditsScene() override = default;

private:
    void goBack();
};
