#include "game/app/AwardTracker.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/io/ProfileManager.h"
#include "tests/game/app/GameHarness.h"

namespace {

CRefPointer<GAwardTracker> makeTracker() {
    return CRefPointer<GAwardTracker>(new GAwardTracker());
}

// The progress of award index as its place in a progress list.
std::string progressAt(int32_t index, int32_t value) {
    std::string text;
    for (int32_t i = 0; i < GAwardTracker::kAwardCount; ++i)
        text += (i > 0 ? ";" : "") + std::to_string(i == index ? value : 0);
    return text;
}

TEST(AwardTrackerTest, ReportsAnswerTrueOnlyWhenTheyReachTheTarget) {
    struct Case {
        const char* what;
        int32_t index;
        int32_t progress;
        std::vector<std::pair<int32_t, bool>> reports;
    };
    const Case cases[] = {
        {"counting, one short", 13, 29, {{1, true}, {1, false}}},
        {"counting, a report past the target is dropped", 0, 0, {{2, false}, {1, true}}},
        {"counting, negative reports change nothing", 14, 9, {{-3, false}, {1, true}}},
        {"best value, lower values are not kept", 3, 0, {{5, false}, {7, false}, {9, true}}},
        {"best value, reached once", 9, 0, {{10000, true}, {12000, false}, {20000, false}}},
        {"best value, the target itself", 11, 0, {{14999, false}, {15000, true}}},
        {"counting with a reset",
         16,
         4,
         {{1, true}, {0, false}, {1, false}, {1, false}, {1, false}, {1, false}, {1, true}}},
    };
    for (const Case& c : cases) {
        const CRefPointer<GAwardTracker> awards = makeTracker();
        awards->loadProgress(CStringW(progressAt(c.index, c.progress).c_str()));
        for (size_t i = 0; i < c.reports.size(); ++i) {
            EXPECT_EQ(awards->reportProgress(c.index, c.reports[i].first), c.reports[i].second)
                << c.what << ", report " << i;
        }
    }
}

TEST(AwardTrackerTest, ReachingSetsTheStateToNewEvenAfterItWasSeen) {
    const CRefPointer<GAwardTracker> awards = makeTracker();
    EXPECT_EQ(awards->isAchieved(16), 0);
    for (int i = 0; i < 5; ++i)
        awards->reportProgress(16, 1);
    EXPECT_EQ(awards->isAchieved(16), 1);
    awards->setAchieved(16, 2);
    awards->reportProgress(16, 0);
    EXPECT_EQ(awards->isAchieved(16), 2) << "a reset keeps the state";
    for (int i = 0; i < 5; ++i)
        awards->reportProgress(16, 1);
    EXPECT_EQ(awards->isAchieved(16), 1);
    EXPECT_EQ(awards->isAchieved(15), 0);
}

TEST(AwardTrackerTest, IndicesOutsideTheAwardsAreRefused) {
    const CRefPointer<GAwardTracker> awards = makeTracker();
    for (int32_t index : {-1, 17, 1000}) {
        EXPECT_FALSE(awards->reportProgress(index, 1)) << index;
        awards->setAchieved(index, 2);
        EXPECT_EQ(awards->isAchieved(index), 0) << index;
    }
}

// Sums are made past the int range, so a damaged profile's progress cannot overflow them.
TEST(AwardTrackerTest, ProgressReadPastItsTargetStaysSafe) {
    const CRefPointer<GAwardTracker> awards = makeTracker();
    awards->loadProgress(u"2147483647;2147483647");
    EXPECT_FALSE(awards->reportProgress(0, 1));
    EXPECT_FALSE(awards->reportProgress(1, 2147483647));
    EXPECT_FALSE(awards->reportProgress(0, 0));
    EXPECT_TRUE(awards->reportProgress(0, 1)) << "reset, then reached";
}

TEST(AwardTrackerTest, TextKeysCountAwardsFromOne) {
    EXPECT_EQ(GAwardTracker::getBeforeTextKey(0), CStringW(u"%AwardBefore_1%"));
    EXPECT_EQ(GAwardTracker::getAfterTextKey(0), CStringW(u"%AwardAfter_1%"));
    EXPECT_EQ(GAwardTracker::getAfterTextKey(16), CStringW(u"%AwardAfter_17%"));
}

class AwardStorageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.start()); }

    GAwardTracker& awards() const { return *game.application().getAwardTracker(); }
    std::string stored(const char* key) { return game.player().getString(key).c_str(); }

    GameHarness game;
};

TEST_F(AwardStorageTest, SavedListsGoToTheActivePlayerAndItsFile) {
    awards().save();
    EXPECT_EQ(game.profiles().getProfileCount(), 0) << "nothing written without a player";

    game.player();
    for (int i = 0; i < 30; ++i)
        awards().reportProgress(1, 1);
    awards().reportProgress(4, 6);
    awards().setAchieved(4, 2);
    awards().save();
    EXPECT_EQ(stored("AchievementsProgress"), "0;30;0;0;6;0;0;0;0;0;0;0;0;0;0;0;0");
    EXPECT_EQ(stored("AchievementsViewState"), "0;1;0;0;2;0;0;0;0;0;0;0;0;0;0;0;0");

    ASSERT_TRUE(game.start());
    EXPECT_EQ(stored("AchievementsProgress"), "0;30;0;0;6;0;0;0;0;0;0;0;0;0;0;0;0")
        << "read back from the file";
}

TEST_F(AwardStorageTest, ListsAreReadNumberByNumberUpToSeventeen) {
    struct Case {
        const char16_t* text;
        const char* progress;
    };
    const Case cases[] = {
        {u"3;0;1", "3;0;1;0;0;0;0;0;0;0;0;0;0;0;0;0;0"},
        {u"", "0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0"},
        {u"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19",
         "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17"},
        // Damaged: words, empty places, a double sign, numbers past the int range.
        {u"x;;--5;99999999999;1e40;-1e40;2.9", "0;-5;2147483647;2147483647;-2147483648;2;0;0;0;"
                                               "0;0;0;0;0;0;0;0"},
    };
    game.player();
    for (const Case& c : cases) {
        awards().loadProgress(c.text);
        awards().save();
        EXPECT_EQ(stored("AchievementsProgress"), c.progress);
    }
}

} // namespace
