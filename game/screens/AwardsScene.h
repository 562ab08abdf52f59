#pragma once

#include <cstdint>

#include "engine/scene/TextNode.h"
#include "game/screens/MenuPageScene.h"

// The awards gallery of the main menu, "scenes/AwardsScene.qscn": one node per award,
// "Achievement_1" to "Achievement_17" under "AchievementsNode", showing "Off" while the award
// is not earned, "FirstOn" on the first visit after it was earned (which marks it seen) and
// "On" after that. A hint bubble beside the award under the pointer tells what it asks for, or
// what it was given for. Back, Escape and Enter return to the menu, which slides back in.
class GAwardsScene : public GMenuPageScene<GAwardsScene> {
public:
    static constexpr uint32_t kTypeId = 1119;
    static constexpr const char16_t* kTypeName = u"GAwardsScene";

    GAwardsScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnNodeHovered(CEventControlHovered& event) override;
    bool OnNodeUnhovered(CEventControlUnhovered& event) override;

protected:
    ~GAwardsScene() override = default;

private:
    // Every award node shows its award's state; awards seen for the first time are stored as
    // seen, with one save of the profile.
    void refreshAwards();
    // Nothing for a node that is not an award node.
    void showHint(BaseNode* node);

    BaseNode* m_hintNode = nullptr;
    TextNode* m_hintText = nullptr;
    BaseNode* m_achievementsNode = nullptr;
};
