#include <gtest/gtest.h>

#include <string>

#include "tests/game/app/ScreenInput.h"
#include "tests/game/level/FixtureClients.h"

// The player's mouse on a field of six pads and two massage tables: picking up, carrying,
// pairs, drops, swaps, the cancel and the hero's work.
namespace {

using namespace fixture_clients;

// The fixture's clients take the pointer over 40 by 70 above their feet.
std::string inputTemplates() {
    std::string collection = templates();
    const std::string dancer = "<string Name=\"Name\" Value=\"Dancer\"/></Properties>";
    const std::string hit =
        fixture_levels::element("NineGridSpriteNode", "",
                                "<string Name=\"Name\" Value=\"Hit\"/>" + at(-20, -70, 0) +
                                    "<vector3d Name=\"Bounds\" Value=\"40;70;0\"/>");
    collection.insert(collection.find(dancer) + dancer.size(), hit);
    return collection;
}

class LevelInputTest : public FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        FixtureClientTest::SetUpTestSuite();
        harness->write("levels/setting3/Level.qscn", fixture_levels::padsLevelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", inputTemplates());
        harness->write("levels/setting3/Upgrades.xml", padsUpgrades());
    }

    void SetUp() override { fresh(false); }
    // Level 1 loaded afresh with its hero, dropping by click or by release.
    static void fresh(bool viaClick) {
        load(1);
        harness->setDragViaClick(viaClick);
        level().createHero(CNameId());
        harness->advance(1);
    }
    void TearDown() override { harness->setDragViaClick(true); }

    static GLocationNode* slot(uint32_t index) { return level().getQueueSlots()[index].get(); }

    // A client of the wishes standing at the location in state 1, as the queue or a finished
    // wish leaves it.
    static GClientNode* waitingAt(GLocationNode* location, const char* name,
                                  CRefPointer<GClientWishList> wishList) {
        GClientNode* client = spawn("Dancer", wishList, name);
        client->moveToLocation(location);
        client->placeAtClientPoint(*location);
        client->setState(GClientNode::kStateWaiting);
        return client;
    }
    static GClientNode* dancer(uint32_t queueSlot, const char* name = "C1") {
        return waitingAt(slot(queueSlot), name, wishes({{{"Dance"}}}));
    }
    // A pair of dancers at the first queue slot, head first.
    static GClientNode* pair() {
        GClientNode* head = dancer(0, "H");
        GClientNode* follower = spawn("Dancer", wishes({{{"Dance"}}}), "F");
        head->setFollower(follower);
        head->arrangeGroup();
        harness->advance(1);
        return head;
    }

    static GLocationNode* find(const char* name) { return asGLocationNode(harness->node(name)); }
    static const GStaffNode::StaffTask* lastHeroTask() {
        const CArray<GStaffNode::StaffTask>& tasks = level().getHero()->getTasks();
        return tasks.size() != 0 ? &tasks[tasks.size() - 1] : nullptr;
    }
    // The pointer's window point in the level's frame.
    static CVector3d inLevel(const CVector3d& window) {
        CVector3d point(window.x, window.y, 1000);
        CMatrix4 inverse;
        level().getAbsoluteMatrix().getInverse(inverse);
        inverse.transformPoint(point);
        return point;
    }
};

TEST_F(LevelInputTest, PickUpsDropsAndTheCancel) {
    struct Case {
        const char* name;
        bool viaClick;
        // The node the client is dropped on, or none for a cancel.
        const char* target;
        bool placed;
    };
    const Case cases[] = {
        {"a drop by release on a free pad", false, "DancePad2", true},
        {"a drop by click on a free pad", true, "DancePad5", true},
        {"a release over a table, which offers no dance", false, "MassageTable1", false},
        {"a right click", true, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh(c.viaClick);
        GClientNode* client = dancer(0);
        harness->advance(1);
        const CVector3d grip = inLevel(harness->pointOf(*client));
        if (c.viaClick)
            harness->click(*client);
        else
            harness->press(*client);
        ASSERT_EQ(level().getHeldClient(), client);
        EXPECT_FALSE(client->canBeHit());
        if (c.viaClick) {
            // Within a window pixel.
            EXPECT_NEAR(client->getPosition().x, grip.x, 1.1) << "at once under the pointer";
            EXPECT_NEAR(client->getPosition().y, grip.y + 60, 1.1);
        }
        BaseNode* target = c.target != nullptr ? harness->node(c.target) : nullptr;
        if (target == nullptr) {
            harness->moveTo(*find("DancePad6"));
            harness->rightClick();
        } else if (c.viaClick) {
            harness->click(*target);
        } else {
            harness->moveTo(*target);
            harness->release(*target);
        }
        harness->advance(2);
        EXPECT_EQ(level().getHeldClient(), nullptr);
        EXPECT_TRUE(client->canBeHit());
        if (c.placed) {
            EXPECT_EQ(client->getLocation(), target);
            EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
        } else {
            EXPECT_EQ(client->getLocation(), slot(0));
            EXPECT_EQ(client->getPosition().x, slot(0)->getPosition().x);
            EXPECT_EQ(client->getClientState(), GClientNode::kStateWaiting);
        }
    }
}

TEST_F(LevelInputTest, APressAndReleaseInPlaceReturnsTheClientAndSendsTheHeroFromALocation) {
    GClientNode* queued = dancer(0, "Q");
    GClientNode* again = waitingAt(find("DancePad1"), "P", wishes({{{"Massage"}}, {{"Dance"}}}));
    harness->advance(1);
    harness->click(*queued);
    harness->advance(1);
    EXPECT_EQ(level().getHeldClient(), nullptr);
    EXPECT_EQ(queued->getLocation(), slot(0));
    EXPECT_EQ(lastHeroTask(), nullptr) << "a queue slot is no place for the hero";
    harness->click(*again);
    harness->advance(1);
    EXPECT_EQ(level().getHeldClient(), nullptr);
    EXPECT_EQ(again->getLocation(), find("DancePad1"));
    ASSERT_NE(lastHeroTask(), nullptr);
    EXPECT_EQ(lastHeroTask()->location.get(), find("DancePad1"));
    EXPECT_EQ(lastHeroTask()->kind, GStaffNode::kTaskServe);
    EXPECT_EQ(lastHeroTask()->target, named("P"));
}

TEST_F(LevelInputTest, APairIsCarriedByItsHeadAndPreviewedOnTwoNeighbouringPads) {
    GClientNode* head = pair();
    GClientNode* follower = head->getFollower();
    harness->press(*follower);
    ASSERT_EQ(level().getHeldClient(), head) << "taken through its follower";
    EXPECT_EQ(level().getGrabbedClient(), follower);
    // Far from any pad: carried freely, the head offset from the pointer.
    const BaseNode* table = find("MassageTable2");
    const CVector3d away = harness->pointOf(*table) + CVector3d(200, 0, 0);
    screen_input::moveTo(harness->game, away);
    const CVector3d pointer = inLevel(away);
    EXPECT_NEAR(head->getPosition().x, pointer.x - 25, 1.1);
    EXPECT_NEAR(head->getPosition().y, pointer.y + 46, 1.1);
    EXPECT_EQ(head->getPairLocation(), nullptr);
    // Over pad 4's half of the rectangle of pads 3 and 4 only: the grabbed follower lands on
    // pad 4, the nearer.
    GLocationNode* pad3 = find("DancePad3");
    GLocationNode* pad4 = find("DancePad4");
    const CVector3d overPad4 = harness->pointOf(*pad4) + CVector3d(-20, 0, 0);
    screen_input::moveTo(harness->game, overPad4);
    EXPECT_EQ(follower->getPairLocation(), pad4);
    EXPECT_EQ(head->getPairLocation(), pad3);
    ASSERT_GE(level().getCurrentPairArea(), 0);
    EXPECT_EQ(level().getPairAreas()[uint32_t(level().getCurrentPairArea())].first.get(), pad3);
    EXPECT_EQ(follower->getPosition().x, pad4->getPosition().x) << "previewed there";
    // Out of the rectangle: free carrying again.
    screen_input::moveTo(harness->game, away);
    EXPECT_EQ(head->getPairLocation(), nullptr);
    EXPECT_EQ(level().getCurrentPairArea(), -1);
    screen_input::moveTo(harness->game, overPad4);
    screen_input::post(harness->game, WM_LBUTTONUP, overPad4);
    harness->advance(1);
    EXPECT_EQ(level().getHeldClient(), nullptr);
    EXPECT_EQ(follower->getLocation(), pad4);
    EXPECT_EQ(head->getLocation(), pad3);
    EXPECT_EQ(head->getFollower(), nullptr);
    const CArray<GClientNode*> neighbours = level().getNeighbourClients(*head);
    ASSERT_EQ(neighbours.size(), 1u);
    EXPECT_EQ(neighbours[0], follower);
}

TEST_F(LevelInputTest, ASwapNeedsEachToWantTheOthersLocationAndAnotherClient) {
    GLocationNode* pad = find("DancePad1");
    GLocationNode* table = find("MassageTable1");
    // Wants a massage at the pad; the one at the table wants to dance.
    GClientNode* atPad = waitingAt(pad, "A", wishes({{{"Massage"}}, {{"Dance"}}}));
    GClientNode* atTable = waitingAt(table, "T", wishes({{{"Dance"}}}));
    harness->advance(1);
    const size_t before = harness->trace().eventsOf<GMoneyEarnedEvent>().size();
    // Taken again and dropped where it stood: no swap with itself.
    harness->press(*atPad);
    harness->moveTo(*find("DancePad2"));
    harness->release(*pad);
    harness->advance(1);
    EXPECT_EQ(atPad->getLocation(), pad);
    EXPECT_EQ(harness->trace().eventsOf<GMoneyEarnedEvent>().size(), before);
    harness->press(*atTable);
    harness->moveTo(*find("DancePad2"));
    harness->release(*pad);
    harness->advance(2);
    EXPECT_EQ(atTable->getLocation(), pad);
    EXPECT_EQ(atPad->getLocation(), table);
    const auto earned = harness->trace().eventsOf<GMoneyEarnedEvent>();
    ASSERT_EQ(earned.size(), before + 1);
    const GMoneyEarnedEvent& swap = *earned.back();
    EXPECT_EQ(swap.getComponent(), 3);
    EXPECT_EQ(swap.getAmount(), level().getLevelConfig()->swapBonus);
    EXPECT_TRUE(swap.getText() == CStringW(u"%Swap%"));
    EXPECT_EQ(swap.getPosition().x, pad->getPosition().x - 5);
    EXPECT_EQ(swap.getPosition().y, pad->getPosition().y - 140);
}

TEST_F(LevelInputTest, AClickOnALocationGivesTheHeroATaskOfItsKind) {
    GLocationNode* pad = find("DancePad2");
    harness->click(*pad);
    harness->advance(2);
    EXPECT_EQ(lastHeroTask(), nullptr) << "nothing to do at an empty pad";
    GClientNode* client = waitingAt(pad, "C", wishes({{{"Dance"}}}));
    client->skipToCheckOut();
    harness->advance(1);
    ASSERT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut);
    harness->click(*pad);
    harness->advance(2);
    ASSERT_NE(lastHeroTask(), nullptr);
    EXPECT_EQ(lastHeroTask()->kind, GStaffNode::kTaskServe);
    EXPECT_EQ(lastHeroTask()->target, named("C"));
}

// The queue moves a carried client's place, never the client under the pointer, and neither do
// the animations it plays meanwhile; put back, it stands at its new place.
TEST_F(LevelInputTest, TheQueueMovesACarriedClientsPlaceButNotTheClient) {
    for (const bool backward : {false, true}) {
        SCOPED_TRACE(backward ? "backward, for a newcomer" : "forward, into a gap at the front");
        fresh(false);
        GClientNode* ahead = backward ? nullptr : dancer(0, "A");
        GClientNode* carried = dancer(backward ? 0 : 1);
        harness->advance(1);
        harness->press(*carried);
        ASSERT_EQ(level().getHeldClient(), carried);
        const CVector3d away = harness->pointOf(*find("MassageTable2")) + CVector3d(200, 0, 0);
        screen_input::moveTo(harness->game, away);
        const CVector3d underPointer = carried->getPosition();
        if (backward) {
            level().shiftQueue(true);
        } else {
            ahead->moveToLocation(nullptr);
            harness->advance(1);
        }
        GLocationNode* place = slot(backward ? 1 : 0);
        EXPECT_EQ(carried->getLocation(), place);
        EXPECT_EQ(carried->getPosition(), underPointer);
        screen_input::post(harness->game, WM_LBUTTONUP, away);
        harness->advance(1);
        EXPECT_EQ(level().getHeldClient(), nullptr);
        EXPECT_EQ(carried->getPosition().x, place->getPosition().x);
    }
}

// A client that waits for a service after its drop is attended at once where the location says
// so ("AutoActivation"): the hero comes; elsewhere it waits for the player's click.
TEST_F(LevelInputTest, AnAutoActivatingLocationCallsTheHeroAtOnce) {
    struct Case {
        const char* table;
        bool attended;
    };
    for (const Case& c : {Case{"MassageTable1", false}, Case{"MassageTable2", true}}) {
        SCOPED_TRACE(c.table);
        fresh(false);
        GLocationNode* table = find(c.table);
        GClientNode* client = waitingAt(slot(0), "M", wishes({{{"Massage"}}}));
        harness->advance(1);
        harness->press(*client);
        harness->moveTo(*table);
        harness->release(*table);
        harness->advance(1);
        ASSERT_EQ(client->getLocation(), table);
        if (!c.attended) {
            EXPECT_EQ(client->getClientState(), GClientNode::kStateWaitingForStart);
            EXPECT_EQ(lastHeroTask(), nullptr);
            continue;
        }
        EXPECT_EQ(client->getComingAttendant(), level().getHero());
        ASSERT_NE(lastHeroTask(), nullptr);
        EXPECT_EQ(lastHeroTask()->location.get(), table);
        EXPECT_EQ(lastHeroTask()->kind, GStaffNode::kTaskServe);
        EXPECT_EQ(lastHeroTask()->target, named("M"));
    }
}

// A held pair over pads 3 and 4 while pad 4 waits to be cleaned: once it is ready again, still
// dirty, the pair is previewed there without a move of the pointer. A clean pad that comes back
// waits for the next move.
TEST_F(LevelInputTest, APadReadyAgainUnderAHeldPairPreviewsThePairWhenItIsDirty) {
    for (const bool dirty : {true, false}) {
        SCOPED_TRACE(dirty ? "dirty" : "clean");
        fresh(false);
        GLocationNode* pad3 = find("DancePad3");
        GLocationNode* pad4 = find("DancePad4");
        if (dirty) {
            pad4->rollDirt();
            ASSERT_TRUE(pad4->isDirty());
            pad4->clearClients();
        } else {
            pad4->setState(GLocationNode::kStateNeedsRecharge);
        }
        ASSERT_EQ(pad4->getState(), GLocationNode::kStateNeedsRecharge);
        GClientNode* head = pair();
        GClientNode* follower = head->getFollower();
        harness->press(*follower);
        ASSERT_EQ(level().getHeldClient(), head);
        screen_input::moveTo(harness->game, harness->pointOf(*pad4) + CVector3d(-20, 0, 0));
        harness->advance(1);
        EXPECT_EQ(follower->getPairLocation(), nullptr) << "pad 4 cannot take a client";
        pad4->recharge();
        harness->advance(1);
        EXPECT_EQ(follower->getPairLocation(), dirty ? pad4 : nullptr);
        EXPECT_EQ(head->getPairLocation(), dirty ? pad3 : nullptr);
        if (dirty) {
            EXPECT_EQ(follower->getPosition().x, pad4->getPosition().x) << "previewed there";
        }
    }
}

} // namespace
