#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "game/app/AwardTracker.h"
#include "game/level/GameLevelScene.h"
#include "game/screens/LevelCompletedScene.h"
#include "tests/game/app/ScreenInput.h"
#include "tests/game/app/StoredProfiles.h"
#include "tests/game/screens/GamePlaySceneFixture.h"
#include "tests/game/screens/LevelResults.h"

namespace {

constexpr uint32_t kEscape = 27;
constexpr uint32_t kEnd = 35;
constexpr int32_t kSwap = 3;

// The level played on, with no tutorial or pop-up in the way.
class GamePlaySceneEndTest : public GamePlaySceneTest {
protected:
    void SetUp() override {
        GamePlaySceneTest::SetUp();
        playRestarted();
        ASSERT_EQ(manager().getCurrentScene(), screen.get());
    }

    std::string currentName() const {
        const SceneNode* current = manager().getCurrentScene();
        return current != nullptr ? current->getName().toString().c_str() : "";
    }
    BaseNode* inMenu(const std::string& path) const {
        return nodeAtPath(manager().getCurrentScene(), path);
    }
    GAwardTracker& awards() const { return *harness.game.application().getAwardTracker(); }
    void typeEndKey() {
        developerMode = true;
        const CRefPointer<CEvent> end(new CEventInputKeyUp(0, kEnd, false, false));
        screen->OnEvent(*end);
        developerMode = false;
    }
    // The award the pop-up on top shows, by its text key; empty without one.
    std::string awardShown() const {
        const BaseNode* text = inMenu("Scene/AwardDesc");
        return currentName() == "NewAwardScene" && text != nullptr
                   ? CString(static_cast<const TextNode*>(text)->getText().c_str()).c_str()
                   : "";
    }
    // Its back button clicked once it has come in, and its way out shown; the milliseconds the
    // level's time moved meanwhile.
    int32_t closeAwardPopUp() {
        const int32_t elapsed = level->getElapsedMs();
        harness.advance(40);
        screen_input::clickNode(harness.game, *inMenu("Scene/BackButton"));
        harness.advance(40);
        return level->getElapsedMs() - elapsed;
    }
    uint32_t resultsOpen() const {
        uint32_t count = 0;
        for (uint32_t i = 0; i < manager().getChildCount(); ++i)
            count += manager().getChild(i)->isKindOf(GLevelCompletedScene::kTypeId) ? 1 : 0;
        return count;
    }
    // The player's value as the profile file on disk holds it.
    CString stored(const char* key) const {
        const CRefPointer<CProfileManager> profiles = readStoredProfiles(harness.game);
        const CProfileParameters* player = profiles->findProfile(u"Tester");
        return player != nullptr ? player->getString(key) : CString();
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

// The developer's End key ends the level as its real end does: booked, then the results; a
// finished event later books nothing more and opens no second results screen.
TEST_F(GamePlaySceneEndTest, EndKeyEndsTheLevelOnce) {
    CProfileParameters& player = harness.game.player();
    player.setInt("LevelIndex", 5);
    player.setInt("MaxUnlockedLevelIndex", 4);
    typeEndKey();
    EXPECT_EQ(player.getInt("LastCompletedLevelIndex"), 5);
    EXPECT_EQ(player.getInt("LevelIndex"), 6);
    EXPECT_TRUE(level->isFinishedPosted()) << "the level posts no end of its own";
    harness.advance(60);
    EXPECT_EQ(currentName(), "LevelCompletedScene");
    screen->finishLevel(true);
    harness.advance(10);
    EXPECT_EQ(player.getInt("LevelIndex"), 6) << "booked once";
    EXPECT_EQ(resultsOpen(), 1u);
}

// Two awards reached at the end: their pop-ups one after the other, the level standing still
// between them, then the results once; the tracker is on disk by then.
TEST_F(GamePlaySceneEndTest, AwardsAtTheEndShowOneAfterAnotherThenTheResults) {
    // One short of "no client lost" (14) and "no money lost" (16).
    awards().loadProgress(u"0;0;0;0;0;0;0;0;0;0;0;0;0;0;9;0;4");
    harness.advance(20);
    typeEndKey();
    harness.advance(1);
    EXPECT_EQ(awardShown(), "%AwardAfter_15%");
    EXPECT_EQ(stored("AchievementsViewState"), "0;0;0;0;0;0;0;0;0;0;0;0;0;0;1;0;1");
    EXPECT_EQ(closeAwardPopUp(), 0);
    EXPECT_EQ(awardShown(), "%AwardAfter_17%");
    EXPECT_EQ(closeAwardPopUp(), 0);
    EXPECT_EQ(currentName(), "LevelCompletedScene");
    EXPECT_EQ(resultsOpen(), 1u);
}

// An award reached while the level runs shows at once, the level waiting under it; the tracker
// is saved as it comes.
TEST_F(GamePlaySceneEndTest, AnAwardInPlayPausesTheLevelUnderItsPopUp) {
    // One swap short of the swap award (15).
    awards().loadProgress(u"0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;14");
    harness.advance(20);
    level->addMoney(5, kSwap, CVector3d(10, 10, 0), u"Swap");
    harness.advance(1);
    EXPECT_EQ(awardShown(), "%AwardAfter_16%");
    EXPECT_EQ(stored("AchievementsProgress"), "0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;15;0");
    const int32_t elapsed = level->getElapsedMs();
    harness.advance(30);
    EXPECT_EQ(level->getElapsedMs(), elapsed);
    EXPECT_GT(closeAwardPopUp(), 0) << "the level goes on";
    EXPECT_EQ(manager().getCurrentScene(), screen.get());
    EXPECT_EQ(resultsOpen(), 0u);
}

// The stats line and the award reports of a passed day, the awards one short of their targets
// before: the pop-ups come in the order of the reports (14, the rank's 1 or 2, 0, 16), and a
// day with money lost starts "no money lost" (16) over.
TEST_F(GamePlaySceneEndTest, StatsLineAndAwardReportsOfAPassedDay) {
    struct Case {
        float money[GGameLevelScene::kMoneyComponents];
        int served;
        int lost;
        int32_t configIndex;
        const char16_t* progress;
        std::vector<std::string> popUps;
        const char* progressAfter;
    };
    const Case cases[] = {
        {{300, 60, 0, 0, 0, 10},
         1,
         0,
         43,
         u"0;29;29;0;0;0;0;0;0;0;0;0;0;0;9;0;4",
         {"%AwardAfter_15%", "%AwardAfter_2%", "%AwardAfter_1%", "%AwardAfter_17%"},
         "1;30;29;0;0;0;0;0;0;0;0;0;0;0;10;0;5"},
        {{180, 40, 24, 12, -8, 30},
         1,
         1,
         1,
         u"0;29;29;0;0;0;0;0;0;0;0;0;0;0;9;0;4",
         {"%AwardAfter_3%"},
         "0;29;30;0;0;0;0;0;0;0;0;0;0;0;9;0;0"},
    };
    CProfileParameters& player = harness.game.player();
    for (const Case& c : cases) {
        load().reset(false);
        show();
        level->getLevelConfig()->levelIndex = c.configIndex;
        level_results::playAndEarn(harness, c.money);
        ASSERT_TRUE(level_results::clientsLeave(harness, c.served, c.lost));
        player.setInt("LevelIndex", c.configIndex);
        player.setInt("MaxUnlockedLevelIndex", c.configIndex);
        awards().loadProgress(c.progress);
        screen->finishLevel(true);
        harness.advance(1);
        CString key("Level");
        key.append(c.configIndex).append("Stats");
        CString line;
        line.append(int32_t(level->getMoney(GGameLevelScene::kMoneyComponents)))
            .append(";")
            .append(level->getElapsedMs())
            .append(";")
            .append(int32_t(level->getHeartsTotal()));
        EXPECT_EQ(stored(key.c_str()), line) << c.configIndex;
        EXPECT_GT(level->getHeartsTotal(), 0.0f);
        EXPECT_EQ(stored("AchievementsProgress"), c.progressAfter) << c.configIndex;
        for (const std::string& popUp : c.popUps) {
            EXPECT_EQ(awardShown(), popUp) << c.configIndex;
            closeAwardPopUp();
        }
        EXPECT_EQ(currentName(), "LevelCompletedScene") << c.configIndex;
    }
}

// Without a player nothing is booked or reported, and the results open all the same.
TEST_F(GamePlaySceneEndTest, WithoutAPlayerOnlyTheResultsOpen) {
    awards().loadProgress(u"0;0;0;0;0;0;0;0;0;0;0;0;0;0;9;0;4");
    harness.game.profiles().removeProfile(0);
    ASSERT_EQ(harness.game.profiles().getActiveProfile(), nullptr);
    screen->finishLevel(true);
    harness.advance(30);
    EXPECT_EQ(currentName(), "LevelCompletedScene");
    EXPECT_EQ(awards().isAchieved(14), 0) << "nothing reported";
    EXPECT_EQ(readStoredProfiles(harness.game)->getProfileCount(), 0);
}

} // namespace
