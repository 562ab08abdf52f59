#include <gtest/gtest.h>

#include <functional>

#include "tests/game/level/FixtureClients.h"

// Clients on the fixture level: through their states, served alone and by staff, asking for
// items, choosing, paying, running out of hearts and leaving.
namespace {

using namespace fixture_clients;

class ClientNodeTest : public FixtureClientTest {
protected:
    static GLocationNode* place(const char* name) { return findLocation(name); }
};

// What a scenario did, beyond the states it went through.
struct Outcome {
    GClientNode* client = nullptr;
    std::function<void(GClientNode&)> check;
};

TEST_F(ClientNodeTest, ScenariosGoThroughTheStateTable) {
    using K = GClientNode;
    struct Scenario {
        const char* name;
        std::function<Outcome()> play;
        std::vector<int32_t> states;
    };
    const Scenario scenarios[] = {
        {"self service ends at the check-out with the money earned",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Dance"}}}));
             c->moveToLocation(place("DancePad1"));
             harness->advance(201);
             return Outcome{c, [](GClientNode& k) { EXPECT_EQ(k.getMoney(), 20.0f); }};
         },
         {K::kStateWaiting, K::kStateSelfServing, K::kStateAtCheckOut}},
        {"staff service shows the pie, then the client finishes alone",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Massage"}}}));
             GStaffNode* staff = hire();
             c->moveToLocation(place("Table"));
             c->requestService(staff);
             staff->enqueueTask(place("Table"), named("C1"), GStaffNode::kTaskServe);
             harness->advance(25);
             auto* pie = static_cast<GSectorSpriteNode*>(
                 staff->getProgressIcon()->findChild(named("ActionProgress1"), 1));
             EXPECT_TRUE(staff->getProgressIcon()->isVisible());
             EXPECT_NEAR(pie->getAngle2(), 180, 8);
             EXPECT_EQ(staff->getStaffState(), GStaffNode::kStateWorking);
             harness->advance(30);
             EXPECT_FALSE(staff->getProgressIcon()->isVisible());
             return Outcome{c, [](GClientNode& k) { EXPECT_EQ(k.getStaff(), nullptr); }};
         },
         {K::kStateWaiting, K::kStateWaitingForStart, K::kStateWaitingForAttendant,
          K::kStateServedByStaff, K::kStateSelfServing, K::kStateAtCheckOut}},
        {"an item asked at 2000 ms of 0/4000 and brought by staff",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Dance", {item("Water", 50, 50)}}}}));
             GStaffNode* staff = hire();
             c->moveToLocation(place("DancePad1"));
             harness->advance(99);
             EXPECT_EQ(c->getClientState(), GClientNode::kStateSelfServing);
             harness->advance(1);
             EXPECT_EQ(c->getClientState(), GClientNode::kStateWantsItem);
             staff->enqueueTask(place("Water1"), CNameId(), GStaffNode::kTaskFetch);
             staff->enqueueTask(place("DancePad1"), named("C1"), GStaffNode::kTaskServe);
             EXPECT_EQ(staff->getCarried()[0], CNameId()) << "handed over";
             return Outcome{c, [](GClientNode& k) {
                                EXPECT_EQ(k.getItemRequests().size(), 0u);
                                EXPECT_EQ(k.getHearts(), 5.0f) << "capped";
                            }};
         },
         {K::kStateWaiting, K::kStateSelfServing, K::kStateWantsItem, K::kStateItemComing, 0,
          K::kStateSelfServing}},
        {"a speed-up item in state 3 leaves the client waiting for its staff",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Massage"}}}));
             c->moveToLocation(place("Table"));
             c->requestService(nullptr);
             EXPECT_TRUE(c->giveItem(nullptr, named("Speed")));
             return Outcome{c, [](GClientNode& k) {
                                EXPECT_EQ(k.getServingSpeedMul(), 2.0f);
                                EXPECT_TRUE(k.isStaffCompleting());
                            }};
         },
         {K::kStateWaiting, K::kStateWaitingForStart, K::kStateWaitingForAttendant}},
        {"a speed-up item in state 7 resumes the service at once",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Dance", {item("Water", -1, 0)}}}}));
             c->moveToLocation(place("DancePad1"));
             harness->advance(1);
             EXPECT_TRUE(c->giveItem(nullptr, named("Speed")));
             return Outcome{c, [](GClientNode& k) {
                                EXPECT_EQ(k.getItemRequests().size(), 0u);
                                EXPECT_EQ(k.getServingSpeedMul(), 2.0f);
                            }};
         },
         {K::kStateWaiting, K::kStateSelfServing, K::kStateWantsItem, K::kStateSelfServing}},
        {"one entry of a panel is served at once with that entry",
         [] {
             GClientNode* c = spawn("Dancer", wishes({{{"Single"}}}));
             c->moveToLocation(place("DancePad1"));
             EXPECT_EQ(c->getActionPanel(), nullptr);
             return Outcome{
                 c, [](GClientNode& k) { EXPECT_EQ(k.getChosenLeaf()->name, named("Dance")); }};
         },
         {K::kStateWaiting, K::kStateSelfServing}},
        {"hearts (0.499 once snapped) running out while served: the client leaves angry and the "
         "pad gets dirty",
         [] {
             GClientNode* c = spawn("Fading", wishes({{{"Dance", {item("Water", -1, 0)}}}}));
             c->moveToLocation(place("DancePad2"));
             harness->advance(26);
             EXPECT_TRUE(place("DancePad2")->isDirty());
             EXPECT_EQ(cueCount("ClientGoneAngryM"), 1u);
             return Outcome{c, [](GClientNode& k) {
                                EXPECT_EQ(k.getHearts(), 0.0f);
                                EXPECT_EQ(k.getWishList(), nullptr);
                            }};
         },
         {K::kStateWaiting, K::kStateSelfServing, K::kStateWantsItem, K::kStateLeaving}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        load(1);
        const Outcome outcome = s.play();
        EXPECT_EQ(statesOf(outcome.client), s.states);
        if (outcome.check && level().findClient(named("C1")) != nullptr)
            outcome.check(*outcome.client);
    }
}

TEST_F(ClientNodeTest, ItemsOfOneTimeRotateOnlyWithARotationTime) {
    for (const char* type : {"Rotator", "Dancer"}) {
        SCOPED_TRACE(type);
        load(1);
        GClientNode* c =
            spawn(type, wishes({{{"Dance", {item("Water", -1, 0), item("Towel", -1, 0)}}}}));
        c->moveToLocation(place("DancePad1"));
        harness->advance(1);
        ASSERT_EQ(c->getCurrentItemRequest(), 0);
        harness->advance(250);
        const bool rotates = std::string(type) == "Rotator";
        EXPECT_EQ(c->getCurrentItemRequest(), rotates ? 1 : 0);
        EXPECT_EQ(cueCount("ClubBefore"), rotates ? 1u : 0u);
        EXPECT_EQ(cueCount("ClubAction"), rotates ? 1u : 0u);
        c->requestService(nullptr);
        EXPECT_TRUE(c->giveItem(
            nullptr, c->getItemRequests()[uint32_t(c->getCurrentItemRequest())].resource));
        EXPECT_EQ(c->getItemRequests().size(), rotates ? 0u : 1u);
        EXPECT_EQ(c->getClientState(),
                  rotates ? GClientNode::kStateSelfServing : GClientNode::kStateWantsItem);
    }
}

TEST_F(ClientNodeTest, SuperDanceNeedsTheQueueRecordsHearts) {
    struct Case {
        float minimum;
        int32_t state;
    };
    const Case cases[] = {{4.0f, GClientNode::kStateAtCheckOut},
                          {3.51f, GClientNode::kStateWaiting}};
    for (const Case& c : cases) {
        load(1);
        GQueuedClient queued;
        queued.superPadHearts = c.minimum;
        GClientNode* client = spawn("Low", wishes({{{"SuperDance"}}}), "C1", "Dancer", &queued);
        EXPECT_EQ(client->getClientState(), c.state) << c.minimum;
    }
    GClientNode* unqueued = spawn("Low", wishes({{{"SuperDance"}}}), "C2");
    EXPECT_EQ(unqueued->getClientState(), GClientNode::kStateWaiting)
        << "without a queue record the wish is kept";
}

TEST_F(ClientNodeTest, TheCheckOutPaysForTheHeartsAndTheGoodbyeRemovesTheClient) {
    GClientNode* client = spawn("Dancer", wishes({{{"Dance"}}}));
    const GObjectRef<GClientNode> weak(client);
    client->moveToLocation(place("DancePad1"));
    harness->advance(201);
    ASSERT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut);
    client->moveToLocation(place("Desk"));
    EXPECT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut);
    GStaffNode* staff = hire();
    staff->enqueueTask(place("Desk"), named("C1"), GStaffNode::kTaskServe);
    harness->advance(1);
    const auto earned = harness->trace().eventsOf<GMoneyEarnedEvent>();
    ASSERT_EQ(earned.size(), 1u);
    EXPECT_EQ(earned[0]->getAmount(), 20.0f) << "floor(5 x 20 / 5 + 0.5) at 4.999 hearts";
    EXPECT_EQ(earned[0]->getComponent(), 0);
    ASSERT_EQ(client->getClientState(), GClientNode::kStateLeaving);
    EXPECT_EQ(client->getGoodbyeAnimation(), named("GoodBye"));
    EXPECT_EQ(level().findClient(named("C1")), client) << "the goodbye still plays";
    harness->advance(10);
    EXPECT_EQ(level().findClient(named("C1")), nullptr);
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_FALSE(place("Desk")->hasClients());
}

TEST_F(ClientNodeTest, WithoutAGoodbyeStateTheClientLeavesAtOnce) {
    GClientNode* client = spawn("Dancer", wishes({}, false), "C1", "QuickDancer");
    EXPECT_EQ(statesOf(client), std::vector<int32_t>{GClientNode::kStateLeaving});
    EXPECT_EQ(level().findClient(named("C1")), nullptr);
    harness->advance(2);
}

TEST_F(ClientNodeTest, AHeadLeavingPromotesItsFollower) {
    GLocationNode* slot = level().getQueueSlots()[0].get();
    GClientNode* head = spawn("Counter", wishes({{{"Dance"}}}), "Head");
    GClientNode* follower = spawn("Counter", wishes({{{"Dance"}}}), "Follower");
    head->setFollower(follower);
    head->moveToLocation(slot);
    head->decreaseHearts(10000, true);
    EXPECT_EQ(head->getClientState(), GClientNode::kStateLeaving);
    EXPECT_EQ(follower->getParentLinker(), nullptr);
    EXPECT_EQ(follower->getLocation(), slot);
    ASSERT_EQ(slot->getClients().size(), 1u);
    EXPECT_EQ(slot->getClients()[0].get(), follower);

    GClientNode* second = spawn("Counter", wishes({{{"Dance"}}}), "Second");
    follower->setFollower(second);
    second->decreaseHearts(10000, true);
    EXPECT_EQ(follower->getFollower(), nullptr) << "a leaving follower clears its leader's link";
}

TEST_F(ClientNodeTest, AWishIsChosenByTheLocationsOrderAndQueueSlotsCountNoVisit) {
    GClientNode* client = spawn("Counter", wishes({{{"Massage"}, {"Dance"}}}));
    EXPECT_EQ(client->getCurrentOrderIndex(), -1) << "two open leaves";
    client->moveToLocation(level().getQueueSlots()[0].get());
    EXPECT_EQ(client->getVisitedLocationCount(), 0);
    EXPECT_EQ(client->getCurrentOrderIndex(), -1);
    client->moveToLocation(place("DancePad1"));
    EXPECT_EQ(client->getVisitedLocationCount(), 1);
    EXPECT_EQ(client->getCurrentOrderIndex(), 1);
    EXPECT_EQ(client->getOtherOptions().size(), 1u);
}

} // namespace
