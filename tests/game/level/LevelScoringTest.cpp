#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Utf.h"
#include "game/app/GameEvents.h"
#include "tests/game/level/FixtureLevels.h"

// The level's money: earned at once or through the screen, shown counting up, ranked against
// the targets 4, 8 and 100 of the fixture level, and the chain bonus.
namespace {

using namespace fixture_levels;

class LevelScoringTest : public FixtureLevelTest {};

std::string narrow(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

TEST_F(LevelScoringTest, MoneyWithoutATextIsEarnedAtOnceAndWithOneThroughTheScreen) {
    struct Case {
        float amount;
        const char16_t* text;
        float earned;
        size_t told;
    };
    const Case cases[] = {
        {12.9f, u"", 12, 0},
        {-12.9f, u"", -12, 0},
        {12.9f, u"Tip", 12, 1},
        {0, u"Tip", 0, 0},
    };
    const CVector3d where(10, 20, 30);
    for (const Case& c : cases) {
        GGameLevelScene& played = load(1);
        played.addMoney(c.amount, 5, where, c.text);
        harness->advance(5);
        EXPECT_EQ(played.getMoney(5), c.earned) << c.amount << " " << narrow(c.text);
        const auto told = harness->trace().eventsOf<GMoneyEarnedEvent>();
        ASSERT_EQ(told.size(), c.told) << c.amount;
        for (const GMoneyEarnedEvent* event : told) {
            EXPECT_EQ(event->getText(), CStringW(c.text));
            EXPECT_EQ(event->getAmount(), c.amount);
            EXPECT_EQ(event->getComponent(), 5);
            EXPECT_EQ(event->getPosition(), where);
        }
    }
}

TEST_F(LevelScoringTest, AComponentOutsideTheSixIsRefused) {
    level().addMoney(5, 6, CVector3d(), CStringW());
    level().addMoneyDelayed(-1, 5, 0);
    harness->advance(3);
    EXPECT_EQ(level().getMoney(6), 0);
    EXPECT_EQ(level().getMoney(-1), 0);
    const std::string problems = harness->game.logProblems();
    EXPECT_NE(problems.find("WRN: The level refuses money for the money component 6"),
              std::string::npos)
        << problems;
    EXPECT_NE(problems.find("WRN: The level refuses delayed money for the money component -1"),
              std::string::npos);
    EXPECT_NE(problems.find("WRN: The level has no money component -1"), std::string::npos);
}

// 300 on display takes 37 steps of 8 and one of 4; the rank passes two targets in the first
// step with one event, and the level, closed long before, ends once the money has settled.
TEST_F(LevelScoringTest, TheDisplayCountsUpEightATickAndTheEndWaitsForIt) {
    level().addMoneyDelayed(0, 300, 0);
    std::vector<float> shown;
    for (int tick = 0; tick < 40; ++tick) {
        harness->advance(1);
        shown.push_back(level().getMoney(0));
    }
    EXPECT_EQ(shown[0], 8);
    EXPECT_EQ(shown[36], 296);
    EXPECT_EQ(shown[37], 300);
    const LevelTrace& trace = harness->trace();
    EXPECT_EQ(trace.eventTicks(GMoneyChangedEvent::Id).size(), 38u);
    std::vector<int32_t> ranks;
    for (const GRankChangedEvent* event : trace.eventsOf<GRankChangedEvent>())
        ranks.push_back(event->getRank());
    EXPECT_EQ(ranks, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(trace.eventTicks(GRankChangedEvent::Id), (std::vector<uint32_t>{2, 14}));
    EXPECT_EQ(trace.cueTicks("DayOver"), std::vector<uint32_t>{30});
    // Posted in the first tick that finds the money settled, delivered in the next.
    ASSERT_EQ(trace.eventTicks(GLevelFinishedEvent::Id), std::vector<uint32_t>{40});
    EXPECT_TRUE(trace.eventsOf<GLevelFinishedEvent>()[0]->isPassed());
}

TEST_F(LevelScoringTest, AChainPaysFromItsSecondServiceAndCountsForTheChainAwards) {
    const char* services[] = {"Dance", "Stretch", "Dance", "Juice", "Dance", "Dance",
                              "Dance", "Dance",   "Dance", "Dance", "Dance"};
    for (const char* resource : services)
        level().addChainBonus(named(resource), CVector3d(1, 2, 3));
    EXPECT_EQ(level().getChainType(), named("Dance"));
    EXPECT_EQ(level().getChainSize(), 7);
    std::vector<int32_t> awards;
    for (const GAwardEarnedEvent* event : harness->trace().eventsOf<GAwardEarnedEvent>())
        awards.push_back(event->getAward());
    EXPECT_EQ(awards, (std::vector<int32_t>{5, 4})) << "chains of 5 and 6; 8 is not reached";
    harness->advance(2);
    const auto paid = harness->trace().eventsOf<GMoneyEarnedEvent>();
    ASSERT_EQ(paid.size(), 8u) << "\"Juice\" ends the chain and starts its own";
    EXPECT_EQ(narrow(paid[0]->getText()), "Swap! x2");
    EXPECT_EQ(paid[0]->getAmount(), 20);
    EXPECT_EQ(paid[1]->getAmount(), 30);
    EXPECT_EQ(narrow(paid[1]->getText()), "Swap! x3");
    EXPECT_EQ(paid[2]->getAmount(), 20) << "the chain after \"Juice\" starts again";
    EXPECT_EQ(paid[0]->getComponent(), 2);
    EXPECT_EQ(paid[0]->getPosition(), CVector3d(1, 2, 3));
    level().addChainBonus(named("Dance"), CVector3d());
    EXPECT_EQ(harness->trace().eventsOf<GAwardEarnedEvent>().size(), 3u);
    EXPECT_EQ(harness->trace().eventsOf<GAwardEarnedEvent>()[2]->getAward(), 3);
}

TEST_F(LevelScoringTest, ACreditWaitingAtAResetIsPaidAfterIt) {
    level().addMoneyDelayed(1, 50, 100);
    level().addMoney(7, 1, CVector3d(), CStringW());
    level().reset(true);
    harness->advance(20);
    EXPECT_EQ(level().getMoney(1), 50) << "the 7 before the reset are gone, the 50 come after";
    EXPECT_EQ(harness->trace().cueTicks("Money2"), std::vector<uint32_t>{6});
}

} // namespace
