#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlEvents.h"
#include "engine/ui/UiEvents.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/LocationNode.h"
#include "game/screens/TutorialActions.h"
#include "tests/game/level/FixtureClients.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/level/LevelTutorialOwner.h"

// The tutorial's actions on a played level: the events each keeps from the level or lets pass
// while its hint is current, when it is done, and what the commands do to the level.
namespace {

std::string script(const std::string& actions) {
    return "<Tutorial><Hint><Text Value=\"Hint\"/><Actions>" + actions +
           "</Actions></Hint><Hint><Text Value=\"Next\"/></Hint></Tutorial>";
}

// Behind the tutorial among the level's pre-receivers: what reaches it was let pass.
class PassedProbe : public CEventReceiver {
public:
    bool OnEvent(CEvent&) override {
        passed = true;
        return false;
    }
    bool passed = false;

protected:
    ~PassedProbe() override = default;
};

enum class Kind { Pick, Drop, DropOutside, Click, ClickStarted, ListItem, ShopItem, MouseDown };

struct Step {
    Kind kind;
    // A client or location of the level, else a control or list made for the event.
    const char* object;
    bool consumed;
    bool done;
    int32_t item = 0;
};

struct Case {
    const char* name;
    const char* action;
    std::vector<Step> steps;
    int32_t skipCount = 0;
};

// Level 1 of the game's content a few seconds in: clients "1" and "2" wait in the queue, "2" at
// its front, the pads are free.
class TutorialActionsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    void SetUp() override {
        ASSERT_NE(harness->loadLevel(1), nullptr);
        harness->advance(300);
        owner = std::make_unique<LevelTutorialOwner>(*harness);
    }
    void TearDown() override {
        harness->player = nullptr;
        owner.reset();
    }

    static GClientNode* client(const char* name) {
        return harness->level().findClient(CNameId(CString(name)));
    }
    static GLocationNode* location(const char* name) {
        return asGLocationNode(harness->node(name));
    }

    // The event of the step, with what it names.
    CRefPointer<CEvent> eventOf(const Step& step) {
        BaseNode* node = harness->node(step.object);
        if (node == nullptr && step.object[0] != '\0') {
            made.push_back(CRefPointer<BaseNode>(new BaseNode(CContentKey(), nullptr, nullptr)));
            made.back()->setName(CNameId(CString(step.object)));
            node = made.back().get();
        }
        switch (step.kind) {
        case Kind::Pick:
            return CRefPointer<CEvent>(
                new GClientDragEvent(asGClientNode(node), asGClientNode(node), 0));
        case Kind::Drop:
            return CRefPointer<CEvent>(new GDropTargetEvent(asGLocationNode(node), false));
        case Kind::DropOutside:
            return CRefPointer<CEvent>(new GDropTargetEvent(nullptr, false));
        case Kind::Click:
            return CRefPointer<CEvent>(new CEventControlClicked(node));
        case Kind::ClickStarted:
            return CRefPointer<CEvent>(new CEventControlClickStarted(node));
        case Kind::ListItem:
            return CRefPointer<CEvent>(new CEventListItemPressed(node, step.item));
        case Kind::ShopItem:
            return CRefPointer<CEvent>(new GShopListItemPressedEvent(step.item));
        case Kind::MouseDown:
            return CRefPointer<CEvent>(new CEventInputMouseLeftDown(1, 1));
        }
        return nullptr;
    }

    // Each step's event goes to the level as its own events do; the probe behind the tutorial
    // tells whether it passed.
    void play(const Case& c) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(owner->startText(script(c.action)));
        GTutorialAction* action = owner->firstAction();
        GGameLevelScene& level = harness->level();
        const CRefPointer<PassedProbe> probe(new PassedProbe);
        level.addPreReceiver(probe.get());
        for (size_t i = 0; i < c.steps.size(); ++i) {
            probe->passed = false;
            level.OnEvent(*eventOf(c.steps[i]));
            EXPECT_EQ(!probe->passed, c.steps[i].consumed) << "step " << i;
            EXPECT_EQ(action->isDone(), c.steps[i].done) << "step " << i;
        }
        EXPECT_EQ(action->getSkipCount(), c.skipCount);
        level.getPreReceivers().eraseValue(probe.get());
        level.OnEvent(*CRefPointer<CEvent>(new GDropTargetEvent(nullptr, false)));
        owner->finish();
    }

    static inline std::unique_ptr<LevelHarness> harness;
    std::unique_ptr<LevelTutorialOwner> owner;
    std::vector<CRefPointer<BaseNode>> made;
};

using K = Kind;

TEST_F(TutorialActionsTest, TriggersKeepFromTheLevelWhatTheirHintDoesNotAskFor) {
    const Case cases[] = {
        {"ClientClick by names, each with its skip count",
         "<Action Type=\"ClientClick\" Names=\"9;2\" NamesSkipCount=\"0;3\"/>",
         {{K::Drop, "DancePad1", true, false},
          {K::Click, "DancePad1", true, false},
          {K::Click, "1", true, false},
          {K::Pick, "1", true, false},
          {K::Pick, "2", false, true}},
         3},
        // A click that passes becomes the level's own pick-up, which the action sees too.
        {"ClientClick by the location the client stands at",
         "<Action Type=\"ClientClick\" Locations=\"Queue1\"/>",
         {{K::Click, "Queue2", true, false},
          {K::Pick, "1", true, false},
          {K::Click, "Queue1", false, true}}},
        {"ClientClick passes a click on a named client",
         "<Action Type=\"ClientClick\" Names=\"1\" Locations=\"DancePad1\"/>",
         {{K::Click, "DancePad1", false, false},
          {K::Click, "2", true, false},
          {K::Click, "1", false, true}}},
        {"ClientClick naming nothing blocks every pick-up",
         "<Action Type=\"ClientClick\"/>",
         {{K::Pick, "1", true, false}, {K::Pick, "2", true, false}}},
        {"TransferClient dropped outside, on an unlisted and on a listed location",
         "<Action Type=\"TransferClient\" ClientNames=\"1\" DstLocations=\"DancePad1\"/>",
         {{K::Pick, "2", true, false},
          {K::Pick, "1", false, false},
          {K::DropOutside, "", false, false},
          {K::Drop, "DancePad2", false, false},
          {K::Pick, "1", false, false},
          {K::Drop, "DancePad2", true, false},
          {K::Drop, "DancePad1", false, true}}},
        {"LocationClick",
         "<Action Type=\"LocationClick\" Names=\"DancePad2\"/>",
         {{K::Pick, "2", true, false},
          {K::DropOutside, "", true, false},
          {K::Click, "DancePad1", true, false},
          {K::Drop, "DancePad1", true, false},
          {K::Click, "DancePad2", false, true},
          {K::Drop, "DancePad2", false, true},
          {K::DropOutside, "", false, true}}},
        {"ListItemPress of a list",
         "<Action Type=\"ListItemPress\" Name=\"Offers\" Items=\"1;3\"/>",
         {{K::ClickStarted, "OkButton", true, false},
          {K::Click, "OkButton", true, false},
          {K::ListItem, "Other", true, false, 1},
          {K::ListItem, "Offers", true, false, 2},
          {K::ShopItem, "", true, false, 1},
          {K::ListItem, "Offers", false, true, 3}}},
        {"ListItemPress of the shop's items",
         "<Action Type=\"ListItemPress\" Name=\"ItemsList\"/>",
         {{K::ShopItem, "", false, true, 5}}},
        {"MouseClick consumes its click",
         "<Action Type=\"MouseClick\"/>",
         {{K::MouseDown, "", true, true}, {K::Click, "OkButton", true, true}}},
        {"ControlPress with empty names",
         "<Action Type=\"ControlPress\"/>",
         {{K::ClickStarted, "OkButton", true, false},
          {K::Click, "OkButton", true, false},
          {K::ListItem, "Offers", true, false}}},
        {"ControlPress of a named control",
         "<Action Type=\"ControlPress\" Names=\"OkButton\"/>",
         {{K::ClickStarted, "OkButton", false, false},
          {K::Click, "Other", true, false},
          {K::Click, "OkButton", false, true}}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(harness->loadLevel(1), nullptr);
        harness->advance(300);
        ASSERT_NE(client("2"), nullptr);
        ASSERT_EQ(client("2")->getLocation(), location("Queue1")) << c.name;
        play(c);
    }
}

// The pick-ups that passed reached the level: its client is carried; one kept from it is not.
TEST_F(TutorialActionsTest, APickUpKeptFromTheLevelLeavesTheClientWhereItWaits) {
    ASSERT_TRUE(owner->startText(script("<Action Type=\"ClientClick\" Names=\"1\"/>")));
    GGameLevelScene& level = harness->level();
    level.OnEvent(*CRefPointer<CEvent>(new GClientDragEvent(client("2"), client("2"), 0)));
    EXPECT_EQ(level.getHeldClient(), nullptr);
    level.OnEvent(*CRefPointer<CEvent>(new GClientDragEvent(client("1"), client("1"), 0)));
    EXPECT_EQ(level.getHeldClient(), client("1"));
    harness->advance(1);
    owner->step(20);
    EXPECT_EQ(owner->controller()->getCurrentHint(), 1);
}

TEST_F(TutorialActionsTest, StateTriggersFinishOnEventsAndCheckCurrentOnlyForNamedObjects) {
    struct StateCase {
        const char* action;
        bool doneAtOnce;
    };
    const StateCase cases[] = {
        {"<Action Type=\"ClientStateChanged\" Names=\"1\" State=\"1\" CheckCurrent=\"true\"/>",
         true},
        {"<Action Type=\"ClientStateChanged\" Names=\"1\" State=\"1\"/>", false},
        {"<Action Type=\"ClientStateChanged\" State=\"1\" CheckCurrent=\"true\"/>", false},
        {"<Action Type=\"ClientStateChanged\" Names=\"9\" State=\"1\" CheckCurrent=\"true\"/>",
         false},
        {"<Action Type=\"LocationStateChanged\" Names=\"DancePad1\" State=\"1\" "
         "CheckCurrent=\"true\"/>",
         true},
        {"<Action Type=\"LocationStateChanged\" State=\"1\" CheckCurrent=\"true\"/>", false},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.action);
        ASSERT_TRUE(owner->startText(script(c.action)));
        EXPECT_EQ(owner->firstAction()->isDone(), c.doneAtOnce);
        owner->step(20);
        EXPECT_EQ(owner->controller()->getCurrentHint(), c.doneAtOnce ? 1 : 0);
        owner->finish();
    }
    // By event: any client without names, only a named one with them; never consumed.
    ASSERT_TRUE(owner->startText(
        script("<Action Type=\"ClientStateChanged\" Names=\"2\" State=\"7\"/>"
               "<Action Type=\"ClientStateChanged\" State=\"7\"/>"
               "<Action Type=\"LocationStateChanged\" Names=\"DancePad2\" State=\"3\"/>")));
    GTutorialController& tutorial = *owner->controller();
    const auto offer = [&](CEvent* event) { return tutorial.OnEvent(*CRefPointer<CEvent>(event)); };
    EXPECT_FALSE(offer(new GClientStateEvent(client("1"), 7, 1)));
    EXPECT_FALSE(owner->firstAction(0)->isDone());
    EXPECT_TRUE(owner->firstAction(1)->isDone());
    EXPECT_FALSE(offer(new LocationStateEvent(location("DancePad1"), 3, 1)));
    EXPECT_FALSE(owner->firstAction(2)->isDone());
    offer(new GClientStateEvent(client("2"), 7, 1));
    offer(new LocationStateEvent(location("DancePad2"), 3, 1));
    EXPECT_TRUE(owner->firstAction(0)->isDone());
    EXPECT_TRUE(owner->firstAction(2)->isDone());
}

// A fresh queue that the tutorial drives: nothing armed yet.
class TutorialQueueTest : public TutorialActionsTest {
protected:
    void SetUp() override {
        harness->armClientQueue = false;
        ASSERT_NE(harness->loadLevel(1), nullptr);
        harness->armClientQueue = true;
        owner = std::make_unique<LevelTutorialOwner>(*harness);
    }
    static const GGameLevelScene::SpawnRecord& record(uint32_t i) {
        return harness->level().getSpawnRecords()[i];
    }
};

TEST_F(TutorialQueueTest, NextClientLetsOneComeAtOnceOrTheQueueRunOnByItself) {
    ASSERT_TRUE(owner->startText(script("<Action Type=\"NextClient\"/>")));
    EXPECT_EQ(record(0).countdown, 0);
    EXPECT_EQ(record(1).countdown, -1);
    harness->advance(1);
    owner->step(20);
    EXPECT_EQ(owner->controller()->getCurrentHint(), 1);
    EXPECT_TRUE(record(0).spawned);
    harness->advance(300);
    EXPECT_EQ(record(1).countdown, -1) << "the tutorial lets the next one come";
    owner->finish();

    SetUp();
    ASSERT_TRUE(owner->startText(script("<Action Type=\"NextClient\" AllowNext=\"1\"/>")));
    EXPECT_FALSE(harness->level().isTutorialQueueMode());
    EXPECT_EQ(record(0).countdown, 2000) << "the entry's own time";
    harness->advance(110);
    EXPECT_TRUE(record(0).spawned);
    EXPECT_GE(record(1).countdown, 0) << "armed by the queue itself";
}

TEST_F(TutorialQueueTest, InsertClientsQueueReplacesTheClientsToCome) {
    ASSERT_TRUE(owner->startText(
        script("<Action Type=\"InsertClientsQueue\"><ClientsQueue>"
               "<Client Name=\"Dancer\" Time=\"0\" WishLists=\"Dance\" Colors=\"2\"/>"
               "</ClientsQueue></Action><Action Type=\"NextClient\"/>")));
    ASSERT_EQ(harness->level().getSpawnRecords().size(), 1u);
    EXPECT_EQ(record(0).createdClients.size(), 1u);
    harness->advance(2);
    ASSERT_TRUE(record(0).spawned);
    EXPECT_EQ(record(0).enteredClients[0]->getColor(), 2);
}

TEST_F(TutorialQueueTest, PauseGeneratePausesTheLevelExactlyWhileItsHintIsCurrent) {
    ASSERT_TRUE(owner->startText(
        "<Tutorial><Hint><Actions><Action Type=\"PauseGenerate\"/>"
        "<Action Type=\"Timed\" Time=\"200\"/></Actions></Hint>"
        "<Hint><Actions><Action Type=\"Timed\" Time=\"1000\"/></Actions></Hint></Tutorial>"));
    GGameLevelScene& level = harness->level();
    const int32_t elapsed = level.getElapsedMs();
    harness->player = [this](uint32_t) { owner->step(20); };
    harness->advance(9);
    EXPECT_TRUE(level.isPaused());
    EXPECT_EQ(level.getElapsedMs(), elapsed);
    harness->advance(1);
    EXPECT_EQ(owner->controller()->getCurrentHint(), 1);
    EXPECT_FALSE(level.isPaused());
    harness->advance(1);
    EXPECT_GT(level.getElapsedMs(), elapsed);
}

TEST_F(TutorialQueueTest, CommandsOnTheLevelEndTheirHintAtTheFirstUpdate) {
    GGameLevelScene& level = harness->level();
    // Nothing bears the name; the hint ends all the same.
    ASSERT_TRUE(owner->startText(
        script("<Action Type=\"EnableLocation\" Name=\"Nowhere\" Enable=\"1\"/>")));
    owner->step(20);
    EXPECT_EQ(owner->controller()->getCurrentHint(), 1);
    for (const char* enable : {"", " Enable=\"1\""}) {
        ASSERT_TRUE(owner->startText(script(
            std::string("<Action Type=\"EnableLocation\" Name=\"DancePad2\"") + enable + "/>")));
        EXPECT_EQ(location("DancePad2")->isEnabled(), enable[0] != '\0');
    }
    // SetRandom never ends its hint; the level draws from its seed.
    ASSERT_TRUE(owner->startText(script("<Action Type=\"SetRandom\" Seed=\"77\"/>")));
    CRandom expected;
    expected.seed(77);
    EXPECT_EQ(level.getRandom().next(), expected.next());
    owner->step(20);
    EXPECT_EQ(owner->controller()->getCurrentHint(), 0);
}

// Items and recharges on the clients' fixture level: a "Slow" client (3 hearts) dancing on
// "DancePad1", and a cooler holding 2 of its 4 water.
class TutorialItemsTest : public fixture_clients::FixtureClientTest {};

TEST_F(TutorialItemsTest, GiveItemGivesOnceForEachTimeAClientIsNamed) {
    load(1);
    GClientNode* c = spawn("Slow", fixture_clients::wishes({{{"Dance"}}}), "C1");
    c->moveToLocation(findLocation("DancePad1"));
    harness->advance(1);
    ASSERT_EQ(c->getHearts(), 3.0f);
    LevelTutorialOwner owner(*harness);
    ASSERT_TRUE(owner.startText(script("<Action Type=\"GiveItem\" Names=\"C1;C2;C1\" "
                                       "Item=\"Water\"/>")));
    EXPECT_EQ(c->getHearts(), 5.0f) << "one heart for each water";
    owner.step(20);
    EXPECT_EQ(owner.controller()->getCurrentHint(), 1);
}

TEST_F(TutorialItemsTest, ChargeLocationFillsTheLocationAndMakesItReady) {
    load(1);
    GLocationNode* cooler = findLocation("Water1");
    ASSERT_EQ(cooler->getResources()[0].amount, 2.0f);
    LevelTutorialOwner owner(*harness);
    ASSERT_TRUE(owner.startText(script("<Action Type=\"ChargeLocation\" Location=\"Water1\"/>")));
    EXPECT_EQ(cooler->getResources()[0].amount, 4.0f);
    EXPECT_EQ(cooler->getState(), GLocationNode::kStateReady);
}

} // namespace
