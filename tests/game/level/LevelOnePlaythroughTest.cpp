#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/app/GameEvents.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/level/LevelOnePlayer.h"

// Level 1 of the game's own content played from the start to the day's end by scripted players,
// with the mouse dragging and clicking.
namespace {

class LevelOnePlaythroughTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }
    void TearDown() override {
        harness->player = nullptr;
        harness->setDragViaClick(true);
    }

    static LevelRun play(bool viaClick, bool good) {
        EXPECT_NE(harness->loadLevel(1), nullptr);
        harness->setDragViaClick(viaClick);
        if (good)
            level_one_player::install(*harness, viaClick);
        else
            harness->player = nullptr;
        LevelRun run = harness->run(30000);
        harness->player = nullptr;
        return run;
    }

    static std::vector<std::string> flatten(const LevelTrace& trace) {
        std::vector<std::string> lines;
        for (const auto& event : trace.events)
            lines.push_back(std::to_string(event.tick) + " event " + std::to_string(event.id));
        for (const auto& cue : trace.cues)
            lines.push_back(std::to_string(cue.tick) + " cue " + cue.name);
        return lines;
    }

    static std::unique_ptr<LevelHarness> harness;
};

std::unique_ptr<LevelHarness> LevelOnePlaythroughTest::harness;

TEST_F(LevelOnePlaythroughTest, AGoodPlayerServesEveryClient) {
    // Level 1: three "Dancer" clients (5 hearts at most, 5 at the start) at 2, 3 and 6 s, each
    // wishing one "Dance" of 5 s; taken from the queue at once, so each loses 1/15 heart per
    // queued second for a tick and 1/20 per second in the room for the dance and the hero's
    // walk, well under one heart: ceil leaves 5 each, 15 hearts in all ("TargetHearts" 10).
    // Colours: a pad's match count grows by one for each client of its colour put on it
    // (from 1, its own), and pays count x 10 ("ColorMatchBonus"); the 0.5 hearts it adds stop
    // at the cap of 5. Client 1 (colour 1) on pad 1 (colour 1): x2 = 20; client 2 (colour 2) on
    // pad 2 (colour 2): x2 = 20; client 3 (colour 1) on pad 1 again: x3 = 30; colour money 70.
    // "Dance" has "MoneyBoost" 50, so each client's money is floor(1 x 1 x 50 + 0.5) = 50; it
    // reaches check-out with between 4 and 5 hearts, so the check-out pays
    // floor((trunc(hearts) + 1) x 50 / 5 + 0.5) = 50, 150 for the three. No chain bonuses in
    // level 1, no swaps, nothing else: money {150, 70, 0, 0, 0, 0}, 220 in all, past the
    // "TargetMoney" of either difficulty (150, 200).
    const float expectedMoney[GGameLevelScene::kMoneyComponents] = {150, 70, 0, 0, 0, 0};
    for (bool viaClick : {true, false}) {
        SCOPED_TRACE(viaClick ? "DragViaClick" : "dragging");
        const LevelRun run = play(viaClick, true);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.servedClients, 3);
        EXPECT_EQ(run.lostClients, 0);
        EXPECT_EQ(run.heartsTotal, 15);
        EXPECT_TRUE(run.trace.cueTicks("ClientGoneAngryW").empty());
        for (int32_t i = 0; i < GGameLevelScene::kMoneyComponents; ++i) {
            EXPECT_EQ(run.money[i], expectedMoney[i]) << "component " << i;
        }
        EXPECT_EQ(harness->trace().eventsOf<GClientLeaveEvent>().size(), 3u);
        std::vector<float> colourBonuses;
        for (const GMoneyEarnedEvent* earned : run.trace.eventsOf<GMoneyEarnedEvent>()) {
            if (earned->getComponent() == 1)
                colourBonuses.push_back(earned->getAmount());
        }
        EXPECT_EQ(colourBonuses, (std::vector<float>{20, 20, 30}));
        EXPECT_TRUE(run.passed);
    }
}

TEST_F(LevelOnePlaythroughTest, AnIdlePlayerLosesEveryClient) {
    for (bool viaClick : {true, false}) {
        SCOPED_TRACE(viaClick ? "DragViaClick" : "dragging");
        const LevelRun run = play(viaClick, false);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.servedClients, 0);
        EXPECT_EQ(run.lostClients, 3);
        EXPECT_EQ(run.trace.cueTicks("ClientGoneAngryW").size(), 3u) << "each leaves angry";
        EXPECT_EQ(run.heartsTotal, 0);
        for (int32_t i = 0; i < GGameLevelScene::kMoneyComponents; ++i)
            EXPECT_EQ(run.money[i], 0) << "component " << i;
        EXPECT_FALSE(run.passed);
    }
}

TEST_F(LevelOnePlaythroughTest, TwoRunsOfOneScriptGiveTheSameTrace) {
    for (bool viaClick : {true, false}) {
        SCOPED_TRACE(viaClick ? "DragViaClick" : "dragging");
        // Each run in a game started afresh, so both draw from the same seed.
        std::vector<std::string> traces[2];
        uint32_t ticks[2] = {};
        for (int32_t k = 0; k < 2; ++k) {
            harness.reset();
            harness = std::make_unique<LevelHarness>();
            ASSERT_TRUE(harness->start());
            const LevelRun run = play(viaClick, true);
            ASSERT_TRUE(run.finished);
            EXPECT_EQ(run.servedClients, 3);
            traces[k] = flatten(run.trace);
            ticks[k] = run.ticks;
        }
        EXPECT_EQ(ticks[0], ticks[1]);
        EXPECT_FALSE(traces[0].empty());
        EXPECT_EQ(traces[0], traces[1]);
    }
}

} // namespace
