#pragma once

#include <cstdint>

#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"

// The pop-up before a level, "scenes/BriefingScene.qscn": the level's act and place as its
// title, its briefing text and its three money targets. It fills itself whenever it is opened;
// its back button returns to the level's screen.
class GGameBriefingScene : public NodeClass<GGameBriefingScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1116;
    static constexpr const char16_t* kTypeName = u"GGameBriefingScene";

    GGameBriefingScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

protected:
    ~GGameBriefingScene() override = default;

private:
    void fill();

    TextNode* m_title = nullptr;
    TextNode* m_description = nullptr;
    TextNode* m_bronzeMoney = nullptr;
    TextNode* m_silverMoney = nullptr;
    TextNode* m_goldMoney = nullptr;
};
