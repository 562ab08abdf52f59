#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "game/level/GameLevelScene.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/screens/GamePlaySceneFixture.h"

namespace {

constexpr uint32_t kEscape = 27;

// The level played on, with no tutorial or pop-up in the way.
class GamePlaySceneEndTest : public GamePlaySceneTest {
protected:
    void SetUp() override {
        GamePlaySceneTest::SetUp();
        harness.game.player().setBool("ShowTutorialOn", false);
        load().reset(false);
        show();
        ASSERT_EQ(manager().getCurrentScene(), screen.get());
    }

    std::string currentName() const {
        const SceneNode* current = manager().getCurrentScene();
        return current != nullptr ? current->getName().toString().c_str() : "";
    }
    BaseNode* inMenu(const std::string& path) const {
        return nodeAtPath(manager().getCurrentScene(), path);
    }
};

// Escape and the menu button pause the level under the menu; Resume lets it go on.
TEST_F(GamePlaySceneEndTest, MenuStopsTheLevelsTimeUntilResume) {
    const auto escape = [this] {
        const CRefPointer<CEvent> up(new CEventInputKeyUp(0, kEscape, false, false));
        screen->OnEvent(*up);
    };
    const auto menuButton = [this] {
        screen_input::clickNode(harness.game, *find("Scene/MenuButton"));
    };
    for (const auto& open : {std::function<void()>(escape), std::function<void()>(menuButton)}) {
        harness.advance(20);
        open();
        harness.advance(60);
        ASSERT_EQ(currentName(), "InGameMenuScene");
        const int32_t elapsed = level->getElapsedMs();
        harness.advance(50);
        EXPECT_EQ(level->getElapsedMs(), elapsed);
        screen_input::clickNode(harness.game, *inMenu("Scene/ResumeButton"));
        harness.advance(60);
        ASSERT_EQ(manager().getCurrentScene(), screen.get());
        harness.advance(20);
        EXPECT_GT(level->getElapsedMs(), elapsed);
    }
}

TEST_F(GamePlaySceneEndTest, LosingTheWindowFocusOpensTheMenu) {
    const CRefPointer<CEvent> active(new CEventSystemFlowActivate(true));
    screen->OnEvent(*active);
    harness.advance(10);
    EXPECT_EQ(manager().getCurrentScene(), screen.get()) << "gaining the focus does nothing";
    const CRefPointer<CEvent> inactive(new CEventSystemFlowActivate(false));
    screen->OnEvent(*inactive);
    harness.advance(60);
    EXPECT_EQ(currentName(), "InGameMenuScene");
    const int32_t elapsed = level->getElapsedMs();
    harness.advance(20);
    EXPECT_EQ(level->getElapsedMs(), elapsed);
}

// The progress a passed level books, from the player's level L and furthest level M; -1: the
// key is not written.
TEST_F(GamePlaySceneEndTest, LevelEndBooksTheProgressOnce) {
    struct Case {
        int32_t level;
        int32_t furthest;
        bool passed;
        int32_t next;
        int32_t unlocked;
    };
    const Case cases[] = {
        {5, 4, true, 6, 5},     {10, 9, true, 12, 11},  {21, 20, true, 23, 22},
        {32, 31, true, 34, 33}, {42, 41, true, 43, 42}, {43, 42, true, -1, -1},
        {3, 7, true, -1, -1},  // replay
        {5, 4, false, -1, -1}, // failed
    };
    CProfileParameters& player = harness.game.player();
    for (const Case& c : cases) {
        load().reset(false);
        show();
        harness.advance(5);
        player.setInt("LevelIndex", c.level);
        player.setInt("MaxUnlockedLevelIndex", c.furthest);
        player.setInt("LastCompletedLevelIndex", -1);
        player.setString("Level1Stats", "");
        screen->finishLevel(c.passed);
        EXPECT_EQ(player.getInt("LastCompletedLevelIndex"), c.passed ? c.level : -1) << c.level;
        EXPECT_EQ(player.getInt("LevelIndex"), c.next < 0 ? c.level : c.next) << c.level;
        EXPECT_EQ(player.getInt("MaxUnlockedLevelIndex"), c.next < 0 ? c.furthest : c.unlocked)
            << c.level;
        CString stats("0;");
        stats.append(level->getElapsedMs()).append(";0");
        EXPECT_EQ(player.getString("Level1Stats"), c.passed ? stats : CString()) << c.level;
        if (!c.passed) {
            EXPECT_EQ(currentName(), "LevelCompletedScene") << "no award waits";
        }
    }
}

// The developer's End key books the level; its real end later books nothing more.
TEST_F(GamePlaySceneEndTest, EndKeyBooksTheLevelOnce) {
    CProfileParameters& player = harness.game.player();
    player.setInt("LevelIndex", 5);
    player.setInt("MaxUnlockedLevelIndex", 4);
    developerMode = true;
    const CRefPointer<CEvent> end(new CEventInputKeyUp(0, 35, false, false));
    screen->OnEvent(*end);
    developerMode = false;
    EXPECT_EQ(player.getInt("LastCompletedLevelIndex"), 5);
    EXPECT_EQ(player.getInt("LevelIndex"), 6);
    screen->finishLevel(true);
    EXPECT_EQ(player.getInt("LevelIndex"), 6) << "booked once";
}

} // namespace
