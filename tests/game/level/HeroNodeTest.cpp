#include <gtest/gtest.h>

#include <vector>

#include "tests/game/level/FixtureClients.h"

// The hero on the fixture level: what its hands show, the marks of its queue, and where it
// stands after a service.
namespace {

using namespace fixture_clients;

class HeroNodeTest : public FixtureClientTest {
protected:
    // The hero away from the locations, so that every walk to one takes a while.
    static GHeroNode* hireAway() {
        GHeroNode* hero = hireHero();
        hero->setPosition({300, 0, 0});
        return hero;
    }
    static std::vector<int32_t> marks(const char* location) {
        const CArray<int32_t>& shown = findLocation(location)->getQueueMarks();
        return std::vector<int32_t>(shown.begin(), shown.end());
    }
};

TEST_F(HeroNodeTest, MovesAndStandsShowTheHandsFromTheNextTurn) {
    GHeroNode* hero = hireHero();
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->getCurrentAnimation(), named("Stand"));
    hero->takeInHand(named("Water"));
    hero->setDirection({0, 1});
    EXPECT_EQ(hero->getCurrentAnimation(), named("MoveDownR")) << "the first hand is the right";
    hero->takeInHand(named("Towel"));
    EXPECT_EQ(hero->getCurrentAnimation(), named("MoveDownR")) << "not before the next turn";
    hero->setDirection({-1, 0});
    EXPECT_EQ(hero->getCurrentAnimation(), named("MoveLeftLR"));
    hero->playIdleAnimation();
    const CNameId stand = hero->getCurrentAnimation();
    EXPECT_TRUE(stand == named("StandLR1") || stand == named("StandLR2"));
}

TEST_F(HeroNodeTest, QueueMarksFollowTheQueueAndABrokenQueueSoundsOnce) {
    // A broken queue of an earlier test may still be heard, and an exclusive cue waits.
    harness->advance(10);
    GHeroNode* hero = hireAway();
    for (const char* location : {"Water1", "Towel1", "Water1"})
        hero->enqueueTask(findLocation(location), CNameId(), GStaffNode::kTaskFetch);
    EXPECT_EQ(marks("Water1"), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(marks("Towel1"), std::vector<int32_t>{2});
    hero->dropLastTask();
    EXPECT_EQ(marks("Water1"), std::vector<int32_t>{1}) << "the first task keeps its mark";
    hero->enqueueTask(findLocation("Towel1"), CNameId(), GStaffNode::kTaskFetch);
    EXPECT_EQ(marks("Towel1"), (std::vector<int32_t>{2, 3}));
    hero->clearTasks();
    harness->advance(1);
    EXPECT_TRUE(marks("Water1").empty());
    EXPECT_TRUE(marks("Towel1").empty());
    EXPECT_EQ(cueCount("HeroLocationsQueueBroken"), 1u);
    EXPECT_EQ(harness->trace().cueTicks("HeroSteps"), std::vector<uint32_t>{11}) << "as it set off";
}

// Where no staff member works, the hero serves at the staff's point and then steps back to its
// own point; the task ends there.
TEST_F(HeroNodeTest, AfterItsLastServiceTheHeroStepsBackAndThenEndsTheTask) {
    GClientNode* client = spawn("Dancer", wishes({{{"Massage"}}}));
    GHeroNode* hero = hireAway();
    client->moveToLocation(findLocation("Table"));
    ASSERT_TRUE(level().serveClient(*client, true));
    EXPECT_EQ(client->getClientState(), GClientNode::kStateWaitingForAttendant);
    EXPECT_EQ(findLocation("Table")->getHero(), hero);
    for (uint32_t tick = 0; tick < 200 && !hero->isSteppingBack(); ++tick)
        harness->advance(1);
    ASSERT_TRUE(hero->isSteppingBack());
    EXPECT_EQ(hero->getTasks().size(), 1u) << "the task waits for the step back";
    harness->advance(20);
    EXPECT_FALSE(hero->isSteppingBack());
    EXPECT_EQ(hero->getTasks().size(), 0u);
    EXPECT_EQ(hero->getStaffState(), GStaffNode::kStateIdle);
    EXPECT_EQ(hero->getPosition().y, 50) << "the table's hero point";
    EXPECT_NE(client->getClientState(), GClientNode::kStateWaitingForAttendant);
}

} // namespace
