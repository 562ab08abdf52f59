#pragma once

#include <cstdint>

#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"

// The pop-up that tells the player of an award earned in a level, "scenes/NewAwardScene.qscn":
// the award's picture ("AwardPlace" in its state "Award_" n) and its text. The level's screen
// gives it the award before opening it over itself; its back button returns there.
class GAwardUnlockedScene : public NodeClass<GAwardUnlockedScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1121;
    static constexpr const char16_t* kTypeName = u"GAwardUnlockedScene";

    GAwardUnlockedScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

    // Award index 0 to 16; any other index changes nothing.
    void setAward(int32_t award);

protected:
    ~GAwardUnlockedScene() override = default;

private:
    SpriteNode* m_awardPlace = nullptr;
    TextNode* m_awardDesc = nullptr;
};
