#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/io/ProfileManager.h"
#include "engine/platform/host/HostMessages.h"
#include "engine/scene/TextNode.h"
#include "game/app/MoneyText.h"
#include "game/screens/GamePlayScene.h"
#include "tests/game/app/GameJourney.h"
#include "tests/game/app/StoredProfiles.h"

// Level 1 played to its end through the game's window, and what follows: the awards, the
// results, the progress kept on disk, a restart and the pause menu.
namespace {

class LevelEndJourneyTest : public GameJourneyTest {
protected:
    std::string shownText(const char* path) {
        const BaseNode* node = find(path);
        if (node == nullptr || !node->isKindOf(TextNode::kTypeId))
            return "";
        return CString(static_cast<const TextNode*>(node)->getShownText().c_str()).c_str();
    }
    std::string textKey(const char* path) {
        const BaseNode* node = find(path);
        if (node == nullptr || !node->isKindOf(TextNode::kTypeId))
            return "";
        return CString(static_cast<const TextNode*>(node)->getText().c_str()).c_str();
    }
    void typeEscape() {
        game().typeKey(VK_ESCAPE, 0);
        game().advance(600);
    }
    // A player of level 1 who has unlocked levels up to furthest + 1 and has that award
    // progress, on whose profile the game is started again, as the program starts the next time,
    // up to the main menu; without tutorials.
    void startWith(int32_t furthest, const char* progress) {
        ASSERT_TRUE(game().start());
        CProfileParameters& player = game().player();
        player.setInt("LevelIndex", 1);
        player.setInt("MaxUnlockedLevelIndex", furthest);
        player.setBool("ShowTutorialOn", false);
        player.setString("AchievementsProgress", progress);
        game().profiles().saveUserProfiles();
        ASSERT_TRUE(game().start());
        ASSERT_TRUE(passLogos("GMainMenuScene")) << currentType();
    }
    // Level 1 loaded, its pop-ups closed and played by clicks until another screen covers it.
    GGameLevelScene& playLevelOneToItsEnd() {
        current()->openSceneFile(u"scenes/LoadingLevelScene.qscn", false, CNameId(), CNameId());
        for (const char* popup : {"GGameBriefingScene", "GGameNewClientScene"}) {
            EXPECT_TRUE(reach(popup, 20000)) << currentType();
            game().advance(1000);
            click("Scene/BackButton");
        }
        EXPECT_TRUE(reach("GGamePlayScene", 2000)) << currentType();
        GGameLevelScene& level = *static_cast<GGamePlayScene*>(current())->getLevel();
        for (int frame = 0; frame < 30000 && currentType() == "GGamePlayScene"; ++frame) {
            playFrame(level);
            game().advance(20);
        }
        return level;
    }
    // The level's figures as the results show them once counted.
    static std::string minutesAndSeconds(int32_t ms) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d", ms / 60000, ms / 1000 % 60);
        return text;
    }
};

// Level 1 on a player's first completion of it, short of two awards: both pop-ups, then the
// results count up to the day's figures, and the progress is on disk.
TEST_F(LevelEndJourneyTest, LevelOneEndsOnTheResultsWithItsProgressKept) {
    // One day short of "no client lost" (14) and of "no money lost" (16).
    ASSERT_NO_FATAL_FAILURE(startWith(0, "0;0;0;0;0;0;0;0;0;0;0;0;0;0;9;0;4"));
    GGameLevelScene& level = playLevelOneToItsEnd();
    ASSERT_EQ(currentType(), "GAwardUnlockedScene");
    ASSERT_EQ(level.getLostClients(), 0);
    const int32_t elapsed = level.getElapsedMs();
    for (const char* award : {"%AwardAfter_15%", "%AwardAfter_17%"}) {
        ASSERT_EQ(currentType(), "GAwardUnlockedScene") << award;
        EXPECT_EQ(textKey("Scene/AwardDesc"), award);
        game().advance(1000);
        click("Scene/BackButton");
    }
    ASSERT_TRUE(reach("GLevelCompletedScene", 2000)) << currentType();
    EXPECT_EQ(level.getElapsedMs(), elapsed) << "the level waited for the pop-ups";

    const int32_t money = int32_t(level.getMoney(GGameLevelScene::kMoneyComponents));
    ASSERT_GE(money, level.getLevelConfig()->targetMoney);
    const std::string total = CString(formatMoneyText(money).c_str()).c_str();
    EXPECT_NE(shownText("Scene/MoneyText"), total) << "counting up";
    game().advance(10000);
    EXPECT_EQ(shownText("Scene/MoneyText"), total);
    EXPECT_EQ(shownText("Scene/SolveTimeText"), minutesAndSeconds(elapsed));
    EXPECT_EQ(shownText("Scene/ServedText"), "3");
    EXPECT_EQ(shownText("Scene/LostText"), "0");
    EXPECT_EQ(shownText("Scene/HeartsText"), std::to_string(int32_t(level.getHeartsTotal())));

    const CRefPointer<CProfileManager> stored = readStoredProfiles(game());
    const CProfileParameters* kept = stored->findProfile(u"Tester");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->getInt("LastCompletedLevelIndex"), 1);
    EXPECT_EQ(kept->getInt("LevelIndex"), 2);
    EXPECT_EQ(kept->getInt("MaxUnlockedLevelIndex"), 1);
    EXPECT_EQ(std::string(kept->getString("Level1Stats").c_str()),
              std::to_string(money) + ";" + std::to_string(elapsed) + ";" +
                  std::to_string(int32_t(level.getHeartsTotal())));
    EXPECT_EQ(std::string(kept->getString("AchievementsViewState").c_str()),
              "0;0;0;0;0;0;0;0;0;0;0;0;0;0;1;0;1");
}

// A replay of level 1 restarted from its results: straight into the day; the pause menu, its
// help and options and back; then away to the main menu.
TEST_F(LevelEndJourneyTest, LevelOneRestartedFromItsResultsAndLeftThroughThePauseMenu) {
    ASSERT_NO_FATAL_FAILURE(startWith(1, ""));
    const int32_t elapsed = playLevelOneToItsEnd().getElapsedMs();
    ASSERT_TRUE(reach("GLevelCompletedScene", 2000)) << currentType();
    game().advance(1000);
    click("Scene/RestartButton");
    ASSERT_TRUE(reach("GLoadingLevelScene", 2000)) << currentType();
    ASSERT_TRUE(reach("GGamePlayScene", 20000)) << currentType();
    game().advance(2000);
    ASSERT_EQ(currentType(), "GGamePlayScene") << "no briefing";
    GGameLevelScene& again = *static_cast<GGamePlayScene*>(current())->getLevel();
    EXPECT_LT(again.getElapsedMs(), elapsed);
    EXPECT_GT(again.getElapsedMs(), 0);

    typeEscape();
    ASSERT_EQ(currentType(), "GInGameMenuScene");
    const int32_t paused = again.getElapsedMs();
    const struct {
        const char* button;
        const char* shown;
    } steps[] = {
        {"Scene/HelpButton", "GHelpScene"},
        {"Scene/BackButton", "GInGameMenuScene"},
        {"Scene/OptionsButton", "GOptionsScene"},
        {"Scene/BackButton", "GInGameMenuScene"},
    };
    for (const auto& step : steps) {
        click(step.button);
        EXPECT_TRUE(reach(step.shown, 2000)) << step.button << " shows " << currentType();
    }
    EXPECT_EQ(again.getElapsedMs(), paused) << "the level waited under the menu";
    click("Scene/ResumeButton");
    ASSERT_TRUE(reach("GGamePlayScene", 2000)) << currentType();
    game().advance(1000);
    EXPECT_GT(again.getElapsedMs(), paused);
    typeEscape();
    ASSERT_EQ(currentType(), "GInGameMenuScene");
    click("Scene/ExitGameButton");
    EXPECT_TRUE(reach("GMainMenuScene", 2000)) << currentType();
}

} // namespace
