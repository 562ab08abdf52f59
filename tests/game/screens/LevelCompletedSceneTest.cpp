#include "game/screens/LevelCompletedScene.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/Random.h"
#include "engine/ui/RangeDraw.h"
#include "game/app/GameApplication.h"
#include "game/app/MoneyText.h"
#include "tests/game/screens/LevelResults.h"
#include "tests/game/screens/LevelScreensFixture.h"

namespace {

std::u16string textOf(const BaseNode* node) {
    return node != nullptr ? static_cast<const TextNode*>(node)->getText().c_str() : u"";
}

// The results of level 1 of the shipped content (targets 150, 250 and 350 for an easy
// player), opened over the level's screen once the level has been played for 7 s and stopped,
// with money in every component, and clients gone happy and angry.
class LevelCompletedFillTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    void SetUp() override { ASSERT_NE(harness->loadLevel(1), nullptr); }
    void TearDown() override {
        if (results) {
            results->navigateBack(0, CNameId(), CNameId());
            harness->advance(30);
        }
    }

    static GGameLevelScene& level() { return harness->level(); }

    // Opened with the engine's generator seeded; the value it draws first comes back.
    uint32_t openResults(uint32_t seed) {
        engineRandom().seed(seed);
        const CRefPointer<CRandom> replay(new CRandom(engineRandom()));
        results = level_results::openResults(*harness);
        EXPECT_TRUE(results);
        return replay->nextMwc();
    }

    BaseNode* child(const char* name) const {
        BaseNode* scene = results->findChild(CNameId(CString("Scene")), 1);
        return scene->findChild(CNameId(CString(name)), 1);
    }
    int32_t endValue(const char* name) const {
        BaseNode* node = child(name);
        EXPECT_TRUE(node != nullptr && node->isKindOf(GCounterTextNode::kTypeId)) << name;
        return node != nullptr ? static_cast<GCounterTextNode*>(node)->getEndValue() : -1;
    }
    static std::string stateOf(const BaseNode* node) {
        const NodeState* state = node != nullptr ? node->getCurrentState() : nullptr;
        return state != nullptr ? state->getName().toString().c_str() : "";
    }

    static std::unique_ptr<LevelHarness> harness;
    CRefPointer<GLevelCompletedScene> results;
};

std::unique_ptr<LevelHarness> LevelCompletedFillTest::harness;

// Clients' money shows with the other earnings, colour matches with chains and swaps, and each
// counter counts up to its figure once the screen shows.
TEST_F(LevelCompletedFillTest, AnExpertDayShowsEveryFigureUnderItsStar) {
    level_results::playAndEarn(*harness, {180, 40, 24, 12, -8, 30});
    ASSERT_TRUE(level_results::clientsLeave(*harness, 1, 1));
    ASSERT_EQ(level().getRank(), 2);
    const int32_t hearts = int32_t(level().getHeartsTotal());
    ASSERT_GT(hearts, 0);
    ASSERT_EQ(level().getElapsedMs(), 7000);

    const uint32_t drawn = openResults(7);
    EXPECT_EQ(textOf(child("GreatingText")),
              u"%LevelCompleted_Greeting" + std::u16string(1, char16_t(u'1' + drawn % 5)) + u"%");
    EXPECT_EQ(endValue("SolveTimeText"), 7000);
    EXPECT_EQ(endValue("MoneyText"), 278);
    EXPECT_EQ(endValue("ServedText"), 1);
    EXPECT_EQ(endValue("LostText"), 1);
    EXPECT_EQ(endValue("MoneyClientsText"), 210);
    EXPECT_EQ(endValue("MoneyColorsText"), 76);
    EXPECT_EQ(endValue("MoneyLostText"), -8);
    EXPECT_EQ(textOf(child("MoneyChainText")), u"24");
    EXPECT_EQ(textOf(child("MoneySwapText")), u"12");
    EXPECT_EQ(textOf(child("HeartsText")), utf8ToUtf16(std::to_string(hearts).c_str()).c_str());
    for (const char* name : {"Star", "MoneyText", "SolveTimeText"})
        EXPECT_EQ(stateOf(child(name)), "Expert") << name;
    EXPECT_EQ(results->getStarNode(), child("Star"));
    EXPECT_TRUE(child("Star")->isVisible());

    harness->advance(100);
    EXPECT_EQ(textOf(child("MoneyText")), std::u16string(formatMoneyText(278).c_str()));
    EXPECT_EQ(textOf(child("SolveTimeText")), u"00:07");
    EXPECT_EQ(textOf(child("LostText")), u"1");
}

TEST_F(LevelCompletedFillTest, AMissedGoalIsConsoledWithoutAStar) {
    level_results::playAndEarn(*harness, {60, 0, 0, 0, -4, 0});
    ASSERT_EQ(level().getRank(), 0);
    for (const uint32_t seed : {3u, 4u}) {
        const uint32_t drawn = openResults(seed);
        EXPECT_EQ(textOf(child("GreatingText")),
                  u"%LevelCompleted_Fail" + std::u16string(1, char16_t(u'1' + (drawn & 1u))) + u"%")
            << seed;
        EXPECT_EQ(endValue("MoneyText"), 56);
        EXPECT_EQ(stateOf(child("Star")), "Looser");
        EXPECT_EQ(stateOf(child("LostText")), "Looser");
        EXPECT_EQ(results->getStarNode(), nullptr) << "the map flies no star";
        harness->advance(30);
        EXPECT_FALSE(child("Star")->isVisible());
        results->navigateBack(0, CNameId(), CNameId());
        harness->advance(30);
    }
    results = nullptr;
}

// The results over the level's screen, on the way into the level from the main menu, the map
// and the loading screen; here without a level, whose figures the tests above fill in.
class LevelCompletedButtonsTest : public LevelScreensTest {
protected:
    void openResults(int32_t lastCompleted, int32_t levelIndex, int32_t maxUnlocked) {
        player().setInt("LastCompletedLevelIndex", lastCompleted);
        player().setInt("LevelIndex", levelIndex);
        player().setInt("MaxUnlockedLevelIndex", maxUnlocked);
        results = openOverLevel(u"scenes/LevelCompletedScene.qscn");
        ASSERT_EQ(currentName(), "LevelCompletedScene");
    }

    SceneNode* results = nullptr;
};

// A level that ends an act opens the next act's comic over the map the first time it is
// completed (every time in the developer mode); a replay, or any other level, goes to the map
// alone.
TEST_F(LevelCompletedButtonsTest, NextGoesToTheMapWithTheComicOfANewAct) {
    struct Case {
        int32_t lastCompleted, levelIndex, maxUnlocked;
        bool developer;
        const char* shown;
    };
    const Case cases[] = {
        {10, 12, 11, false, "ComicsScene2"}, {21, 23, 22, false, "ComicsScene3"},
        {32, 34, 33, false, "ComicsScene4"}, {10, 5, 20, false, "Map"},
        {10, 5, 20, true, "ComicsScene2"},   {5, 6, 5, false, "Map"},
        {43, 43, 42, false, "Map"},
    };
    for (const Case& c : cases) {
        developerMode = c.developer;
        openResults(c.lastCompleted, c.levelIndex, c.maxUnlocked);
        click("Scene/NextButton");
        EXPECT_EQ(currentName(), c.shown) << c.lastCompleted << " " << c.levelIndex;
        if (currentName() != "Map") {
            EXPECT_EQ(current()->getPreviousScene()->getName(), name("Map")) << "over the map";
            current()->navigateBack(0, CNameId(), CNameId());
            settle();
        }
        ASSERT_EQ(currentName(), "Map");
        EXPECT_EQ(stateOf(find("Scene")), "NavBackTo");
        open(u"scenes/TestLoading.qscn");
        open(u"scenes/TestPlay.qscn");
    }
    developerMode = false;
}

// After the last level, with the final credits due (or in the developer mode), the player goes
// to the main menu: the request for the map that follows is refused, as the screen is already
// leaving.
TEST_F(LevelCompletedButtonsTest, NextAfterTheLastLevelEndsOnTheMainMenuWhenTheCreditsAreDue) {
    for (const bool developer : {false, true}) {
        developerMode = developer;
        player().setBool("ShowFinalCredits", !developer);
        openResults(43, 43, 42);
        click("Scene/NextButton");
        EXPECT_EQ(currentName(), "MainMenuScene") << developer;
        EXPECT_FALSE(player().getBool("ShowFinalCredits"));
        const CProfileParameters* saved = stored(u"Anna");
        ASSERT_NE(saved, nullptr);
        EXPECT_GE(saved->indexOf("ShowFinalCredits"), 0) << "saved";
        EXPECT_FALSE(saved->getBool("ShowFinalCredits"));
        for (const char16_t* file :
             {u"scenes/TestMap.qscn", u"scenes/TestLoading.qscn", u"scenes/TestPlay.qscn"})
            open(file);
    }
    developerMode = false;
}

TEST_F(LevelCompletedButtonsTest, MapAndRestartGoBackToTheirScreens) {
    struct Case {
        const char* button;
        const char* shown;
        const char* resultsLeave;
    };
    // "None" is a state no node holds: the results go at once.
    const Case cases[] = {
        {"Scene/MapButton", "Map", "NavBackFrom"},
        {"Scene/RestartButton", "Loading", "NavTo"},
    };
    for (const Case& c : cases) {
        openResults(3, 4, 3);
        const CRefPointer<SceneNode> left = CRefPointer<SceneNode>::share(results);
        click(c.button);
        EXPECT_EQ(currentName(), c.shown) << c.button;
        EXPECT_EQ(stateOf(find("Scene")), "NavBackTo") << c.button;
        EXPECT_EQ(stateOf(findIn(left.get(), "Scene")), c.resultsLeave) << c.button;
        if (currentName() == "Map")
            open(u"scenes/TestLoading.qscn");
        open(u"scenes/TestPlay.qscn");
    }
}

} // namespace
