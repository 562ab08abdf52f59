#pragma once

#include <cstdint>

#include "engine/ui/ButtonNode.h"
#include "engine/ui/TabSceneNode.h"
#include "game/screens/MenuPageScene.h"

// The help over the in-game menu, "scenes/HelpScene.qscn": the pages of its "TabScene", turned
// by "ButtonPrev" and "ButtonNext", each shown only where there is a page to turn to.
// "BackButton", Escape and Enter return to the menu, which slides back in.
class GHelpScene : public GMenuPageScene<GHelpScene> {
public:
    static constexpr uint32_t kTypeId = 1120;
    static constexpr const char16_t* kTypeName = u"GHelpScene";

    GHelpScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    // Arriving: nothing before the first page.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

protected:
    ~GHelpScene() override = default;

private:
    static void showButton(ButtonNode* button, bool shown);

    TabSceneNode* m_tabs = nullptr;
    ButtonNode* m_prevButton = nullptr;
    ButtonNode* m_nextButton = nullptr;
};
