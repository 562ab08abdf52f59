#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/TextNode.h"
#include "game/app/BaseSceneNode.h"
#include "game/screens/CounterTextNode.h"

class GGameLevelScene;

// The results of a level, "scenes/LevelCompletedScene.qscn", opened over the level's screen
// once the level is over: a greeting (or a word of comfort when the goal was missed), the
// level's time, money, hearts and clients counted up to their totals, and its children in the
// state of the rank reached ("Looser", "Goal", "Expert", "Master"). "NextButton" leads to the
// map (with the comic that opens the next act on a first completion, or to the main menu after
// the last level when the final credits are due), "MapButton" to the map and "RestartButton"
// to the loading screen, which plays the level again.
class GLevelCompletedScene : public NodeClass<GLevelCompletedScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1117;
    static constexpr const char16_t* kTypeName = u"GLevelCompletedScene";

    GLevelCompletedScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    // Opened: fills in the level's figures; without a level nothing is shown.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

    // Keeps a reference to the level; given before the screen opens.
    void setLevel(GGameLevelScene* level);
    GGameLevelScene* getLevel() const { return m_level.get(); }
    // The star the map flies to the level's button: none for a missed goal.
    BaseNode* getStarNode() const;

protected:
    ~GLevelCompletedScene() override;

private:
    void fill(GGameLevelScene& level);
    void fillMoney(const GGameLevelScene& level);
    void goNext();

    CRefPointer<GGameLevelScene> m_level;
    TextNode* m_greetingText = nullptr;
    GCounterTextNode* m_solveTimeText = nullptr;
    GCounterTextNode* m_moneyText = nullptr;
    TextNode* m_heartsText = nullptr;
    GCounterTextNode* m_servedText = nullptr;
    GCounterTextNode* m_lostText = nullptr;
    GCounterTextNode* m_moneyClientsText = nullptr;
    GCounterTextNode* m_moneyColorsText = nullptr;
    TextNode* m_moneyChainText = nullptr;
    TextNode* m_moneySwapText = nullptr;
    GCounterTextNode* m_moneyLostText = nullptr;
};
