#include <gtest/gtest.h>

#include "tests/game/level/FixtureClients.h"

// Staff on the fixture level: their task queue, walking home, serving and recharging.
namespace {

using namespace fixture_clients;

class StaffNodeTest : public FixtureClientTest {
protected:
    // A masseur at its home place, so that every walk to a location takes a while.
    static GStaffNode* hireAtHome() {
        GStaffNode* staff = hire();
        staff->setPosition({300, 0, 0});
        return staff;
    }
};

TEST_F(StaffNodeTest, TwoFetchesAtWaterComeBeforeTheirServicesUnlessAHandIsFull) {
    for (const bool holding : {false, true}) {
        SCOPED_TRACE(holding);
        load(1);
        GStaffNode* staff = hireAtHome();
        if (holding)
            staff->takeInHand(named("Towel"));
        staff->enqueueTask(findLocation("Water1"), CNameId(), GStaffNode::kTaskFetch);
        EXPECT_EQ(staff->getStaffState(), GStaffNode::kStateWalking);
        staff->enqueueTask(findLocation("DancePad1"), named("C1"), GStaffNode::kTaskServe);
        staff->enqueueTask(findLocation("Water2"), CNameId(), GStaffNode::kTaskFetch);
        staff->enqueueTask(findLocation("DancePad1"), named("C2"), GStaffNode::kTaskServe);
        std::vector<int32_t> kinds;
        for (const GStaffNode::StaffTask& task : staff->getTasks())
            kinds.push_back(task.kind);
        const std::vector<int32_t> reordered = {2, 2, 1, 1};
        const std::vector<int32_t> kept = {2, 1, 2, 1};
        EXPECT_EQ(kinds, holding ? kept : reordered);
    }
}

TEST_F(StaffNodeTest, EnqueuingWhileWalkingHomeStartsTheTaskFromWhereItStands) {
    GStaffNode* staff = hire();
    staff->enqueueTask(findLocation("Water1"), CNameId(), GStaffNode::kTaskFetch);
    EXPECT_EQ(staff->getCarried()[0], named("Water"));
    EXPECT_TRUE(staff->isWalking()) << "home, to the masseur's place";
    harness->advance(2);
    EXPECT_GT(staff->getPosition().x, 0);
    staff->enqueueTask(findLocation("Water2"), CNameId(), GStaffNode::kTaskFetch);
    EXPECT_EQ(staff->getCarried()[1], named("Water"));
    EXPECT_EQ(staff->getTasks().size(), 0u);
}

TEST_F(StaffNodeTest, AnArrivalThatDoesNothingClearsTheQueue) {
    GStaffNode* staff = hireAtHome();
    staff->enqueueTask(findLocation("Table"), named("Nobody"), GStaffNode::kTaskServe);
    staff->enqueueTask(findLocation("Water1"), CNameId(), GStaffNode::kTaskFetch);
    harness->advance(70);
    EXPECT_EQ(staff->getTasks().size(), 0u);
    EXPECT_EQ(staff->getCarried()[0], CNameId());
    EXPECT_EQ(staff->getStaffState(), GStaffNode::kStateIdle);
    EXPECT_FALSE(staff->isWalking()) << "no task was done, so it does not go home";
}

TEST_F(StaffNodeTest, ALeavingClientIsNeverServed) {
    GClientNode* client = spawn("Dancer", wishes({}, false));
    ASSERT_EQ(client->getClientState(), GClientNode::kStateLeaving);
    GStaffNode* staff = hire();
    bool handled = true;
    EXPECT_FALSE(staff->serveClient(*client, handled, true));
    EXPECT_FALSE(handled);
}

TEST_F(StaffNodeTest, ARechargeAtADirtyLocationNeedsAFreeHand) {
    for (const uint32_t held : {2u, 1u}) {
        SCOPED_TRACE(held);
        load(1);
        GLocationNode* pad = findLocation("Water2");
        pad->rollDirt();
        ASSERT_TRUE(pad->isDirty());
        GStaffNode* staff = hire();
        for (uint32_t i = 0; i < held; ++i)
            staff->takeInHand(named("Towel"));
        staff->enqueueTask(pad, CNameId(), GStaffNode::kTaskRecharge);
        const bool recharging = held == 1;
        EXPECT_EQ(staff->getStaffState() == GStaffNode::kStateWorking, recharging);
        EXPECT_EQ(pad->getState() == GLocationNode::kStateStaffRecharge, recharging);
    }
}

TEST_F(StaffNodeTest, ARemovedStaffMemberIsGoneAndItsLinksReadNone) {
    GClientNode* client = spawn("Dancer", wishes({{{"Massage"}}}));
    GStaffNode* staff = hire();
    client->moveToLocation(findLocation("Table"));
    client->requestService(staff);
    staff->enqueueTask(findLocation("Table"), named("C1"), GStaffNode::kTaskServe);
    ASSERT_EQ(client->getStaff(), staff);
    EXPECT_EQ(level().findStaff(named("Masseur")), staff);
    characters().removeChild(staff);
    harness->advance(1);
    EXPECT_EQ(client->getStaff(), nullptr);
    EXPECT_EQ(findLocation("Table")->getStaff(), nullptr);
    EXPECT_EQ(level().findStaff(named("Masseur")), nullptr);
    harness->advance(59);
    EXPECT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut)
        << "the service goes on without it";
}

} // namespace
