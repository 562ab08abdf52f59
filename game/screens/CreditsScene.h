#pragma once

#include <cstdint>

#include "game/screens/MenuPageScene.h"

// The credits page of the main menu, "scenes/CreditsScene.qscn", whose content is all in its
// file. Its back button, Escape and Enter return to the menu, which slides back in.
class GCreditsScene : public GMenuPageScene<GCreditsScene> {
public:
    static constexpr uint32_t kTypeId = 1107;
    static constexpr const char16_t* kTypeName = u"GCreditsScene";

    GCreditsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;

protected:
    ~GCreditsScene() override = default;
};
