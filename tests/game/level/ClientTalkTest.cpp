#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/Random.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"
#include "engine/ui/SpawnerNode.h"
#include "tests/game/level/FixtureTalk.h"

// Neighbours on the pads: talkers saddening or stopping listeners, blockers, place boosts,
// tecktoniks and street dancers, and pads where none of it works.
namespace {

using namespace fixture_talk;

class ClientTalkTest : public FixtureTalkTest {
protected:
    static CVector3d cloudStart(const BaseNode& cloud) {
        const KeyFrame* frames = asKeyFrame(cloud.findState(named("MoveTo"))->getAnimator(0));
        return getPropertyVector3d(frames->getKeys()[0].values[0]);
    }
};

TEST_F(ClientTalkTest, TheLargestTalkOfTheListenersTalkersApplies) {
    struct Case {
        const char* leaver;
        bool leavesTheLevel;
        float left;
    };
    const Case cases[] = {
        {"T20", false, 10},
        {"T10", false, 20},
        {"T20", true, 10},
        {"T10", true, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.leaver) + (c.leavesTheLevel ? " leaving" : " moving away"));
        load(1);
        // The previous case's cue has ended.
        harness->advance(25);
        GClientNode* listener = arrive("Listener", 2, "L");
        GClientNode* slow = arrive("Talker10", 1, "T10", "Talker");
        GClientNode* fast = arrive("Talker20", 3, "T20", "Talker");
        harness->advance(4);
        EXPECT_FALSE(slow->isTalking()) << "before 100 ms";
        harness->advance(2);
        ASSERT_TRUE(slow->isTalking());
        ASSERT_TRUE(fast->isTalking());
        EXPECT_EQ(listener->getTalkSecondsPerHeart(), 20);
        EXPECT_EQ(cueCount("WaverAction"), 1u);
        const BaseNode* cloud = listener->getCloudEffect();
        ASSERT_NE(cloud, nullptr) << "one cloud, from the first talker";
        EXPECT_EQ(cloud->getParent(), listener);
        const CVector3d start = cloudStart(*cloud);
        EXPECT_EQ(std::fabs(start.x), 140.0f) << "it flies from a talker a pad away";
        EXPECT_EQ(start.z, 10.0f);
        GClientNode* leaver = std::string(c.leaver) == "T10" ? slow : fast;
        if (c.leavesTheLevel)
            leaver->setState(GClientNode::kStateLeaving);
        else
            leaver->moveToLocation(nullptr);
        EXPECT_FALSE(leaver->isTalking());
        EXPECT_EQ(listener->getTalkSecondsPerHeart(), c.left);
        EXPECT_EQ(listener->getCloudEffect(), cloud) << "the other talker keeps it";
        (leaver == slow ? fast : slow)->moveToLocation(nullptr);
        EXPECT_EQ(listener->getTalkSecondsPerHeart(), 0);
        EXPECT_EQ(listener->getCloudEffect(), nullptr);
    }
}

TEST_F(ClientTalkTest, ATalkerLosesTheListenerHeartsAtItsRateAndAStopperPausesIt) {
    GClientNode* listener = arrive("Listener", 2, "L");
    arrive("Talker10", 1, "T10", "Talker");
    harness->advance(6);
    const float before = listener->getHearts();
    harness->advance(50);
    EXPECT_NEAR(before - listener->getHearts(), 0.1f, 0.001f) << "a second at 10 s a heart";

    load(1);
    GClientNode* dancer = arrive("Listener", 2, "D", "Dancer", "Dance");
    ASSERT_EQ(dancer->getClientState(), GClientNode::kStateSelfServing);
    arrive("Stopper", 3, "S");
    harness->advance(7);
    EXPECT_EQ(dancer->getStopperCount(), 1u);
    EXPECT_EQ(dancer->getClientState(), GClientNode::kStatePaused);
}

TEST_F(ClientTalkTest, ABlockerStopsATalkerForAsLongAsItStays) {
    GClientNode* listener = arrive("Listener", 1, "L");
    GClientNode* talker = arrive("Talker10", 2, "T", "Talker");
    harness->advance(6);
    ASSERT_TRUE(talker->isTalking());
    GClientNode* blocker = arrive("Blocker", 3, "B");
    EXPECT_FALSE(talker->isTalking());
    EXPECT_EQ(listener->getTalkSecondsPerHeart(), 0);
    EXPECT_EQ(talker->getAbilityBlockerCount(), 1u);
    harness->advance(20);
    talker->applyTalkActions(true);
    EXPECT_FALSE(talker->isTalking()) << "no talk starts while the blocker stays";
    EXPECT_EQ(listener->getTalkSecondsPerHeart(), 0);
    EXPECT_EQ(cueCount("UrbanDancerAction"), 1u);

    blocker->moveToLocation(nullptr);
    EXPECT_EQ(talker->getAbilityBlockerCount(), 0u);
    harness->advance(1);
    EXPECT_TRUE(talker->isTalking()) << "its time in its state has long passed";
    EXPECT_EQ(listener->getTalkSecondsPerHeart(), 10);
}

TEST_F(ClientTalkTest, PlaceBoostsOfProbabilityNearOneAlwaysApplyAndOfZeroNever) {
    GClientNode* hipHop = arrive("HipHop", 1, "H", "Hopper");
    // Its orbiting hearts start with the first frame drawn.
    harness->advance(2);
    for (int32_t i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        for (const char* type : {"Listener", "Stranger"}) {
            const bool boosted = std::string(type) == "Listener";
            GClientNode* guest = arrive(type, 2, type);
            EXPECT_NEAR(guest->getHearts(), boosted ? 4.0f : 3.0f, 0.001f);
            EXPECT_EQ(guest->getHipHopSenderCount(), boosted ? 1u : 0u);
            guest->moveToLocation(nullptr);
        }
    }
    EXPECT_EQ(hipHop->getHearts(), 5) << "0.5 for each listener, up to its five";
    EXPECT_EQ(harness->flyingHearts(), 20u);
    harness->advance(1);
    EXPECT_EQ(cueCount("HipHopAction"), 1u);
}

TEST_F(ClientTalkTest, AFullNameTwoSideGetsNoHeartWhileTheNameOneSideGetsItsOwn) {
    for (const bool hipHopArrives : {false, true}) {
        SCOPED_TRACE(hipHopArrives ? "the hip-hop arrives" : "the full client arrives");
        load(1);
        GClientNode* full = hipHopArrives ? arrive("Content", 2, "C") : nullptr;
        GClientNode* hipHop = arrive("HipHop", 1, "H", "Hopper");
        harness->advance(2);
        if (!hipHopArrives)
            full = arrive("Content", 2, "C");
        EXPECT_EQ(full->getHearts(), 5);
        EXPECT_EQ(full->getHipHopSenderCount(), 0u);
        EXPECT_EQ(harness->flyingHearts(), 0u);
        EXPECT_NEAR(hipHop->getHearts(), 3.499f, 0.0001f) << "3 + 0.5, snapped";
    }
}

TEST_F(ClientTalkTest, ATecktonikGivesBothNeighboursASixthHeartAndFiveHearts) {
    GClientNode* left = arrive("Listener", 1, "L");
    GClientNode* right = arrive("Listener", 3, "R");
    for (GClientNode* client : {left, right})
        client->addHearts(-2.5f);
    harness->advance(1);
    arrive("Tecktonik", 2, "T", "Hopper");
    for (GClientNode* client : {left, right}) {
        EXPECT_EQ(client->getMaxHearts(), 6);
        EXPECT_TRUE(client->getHeartsNode()->getChild(5)->isVisible()) << "the sixth icon";
        EXPECT_NEAR(client->getHearts(), 5.499f, 0.0001f) << "0.499 + 5";
        EXPECT_EQ(client->getTecktonikSenderCount(), 1u);
    }
    harness->advance(1);
    EXPECT_EQ(cueCount("TecktonikAction"), 1u);
}

TEST_F(ClientTalkTest, AStreetDancerSpeedsItsNeighbourUpWithOneCue) {
    GClientNode* dancer = arrive("Listener", 2, "D", "Dancer", "Dance");
    harness->advance(1);
    const float served = dancer->getChosenLeaf()->orderTime;
    GClientNode* street = arrive("StreetDancer", 1, "S1", "Hopper");
    arrive("StreetDancer", 3, "S2", "Hopper");
    EXPECT_EQ(dancer->getNeighbourServingMul(), 1.5f);
    harness->advance(1);
    EXPECT_NEAR(dancer->getChosenLeaf()->orderTime - served, 30.0f, 0.001f) << "20 ms x 1.5";
    EXPECT_EQ(cueCount("StreetDancerAction"), 1u);
    // The spawners under its "Ability" start anew as fresh copies.
    const BaseNode* ability = street->findChild(named("Ability"), 1);
    uint32_t spawners = 0;
    for (uint32_t i = 0; i < ability->getChildCount(); ++i)
        spawners += ability->getChild(i)->isKindOf(SpawnerNode::kTypeId) ? 1 : 0;
    EXPECT_EQ(spawners, 1u);

    street->moveToLocation(nullptr);
    EXPECT_EQ(dancer->getNeighbourServingMul(), 1.5f) << "the other one stays";
    GClientNode* blocker = arrive("Blocker", 1, "B");
    EXPECT_EQ(dancer->getAbilityBlockerCount(), 1u);
    blocker->moveToLocation(nullptr);
    EXPECT_EQ(dancer->getNeighbourServingMul(), 1.5f) << "a blocker gone keeps the boost received";
}

TEST_F(ClientTalkTest, NothingHappensOnArrivalAtAPadConfiguredOtherwise) {
    GClientNode* listener = arrive("Listener", 6, "L");
    for (const char* type : {"Tecktonik", "StreetDancer", "HipHop", "Blocker"}) {
        SCOPED_TRACE(type);
        GClientNode* guest = arrive(type, 5, type, "Hopper");
        harness->advance(2);
        EXPECT_EQ(listener->getMaxHearts(), 5);
        EXPECT_EQ(listener->getHearts(), 3);
        EXPECT_EQ(listener->getNeighbourServingMul(), 1);
        EXPECT_EQ(listener->getAbilityBlockerCount(), 0u);
        guest->moveToLocation(nullptr);
    }
    for (const char* cue :
         {"TecktonikAction", "StreetDancerAction", "HipHopAction", "UrbanDancerAction"})
        EXPECT_EQ(cueCount(cue), 0u) << cue;
}

} // namespace
