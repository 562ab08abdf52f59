#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/MagnetMovableNode.h"
#include "tests/game/level/FixtureClients.h"

// The level's script of arriving clients: entries armed by time and by the clients they watch,
// groups entering at the front of a three-slot queue, their colours, a full queue, bad entries,
// and the queue box and boombox cheering clients up, also when staff fetch from them.
namespace {

using namespace fixture_clients;

std::string pairOf(const char* type, const char* attributes,
                   std::initializer_list<const char*> res) {
    std::string clients;
    for (const char* resource : res)
        clients += std::string("<Client><Order Res=\"") + resource + "\"/></Client>";
    return std::string("<Pair CI=\"") + type + "\" " + attributes + ">" + clients + "</Pair>";
}

std::string level(const char* colors, const std::string& queue) {
    return std::string("<Level><SettingIndex Value=\"3\"/><LevelTime Value=\"600\"/>"
                       "<ColorsCount Value=\"") +
           colors + "\"/><ClientsQueue>" + queue + "</ClientsQueue></Level>";
}

// 1: arming by time and references; 2: bad entries; 3: a queue that fills up; 4: groups to
// cheer up.
std::string levels() {
    return "<LevelsConfiguration>" +
           level("2", "<Client Name=\"Dancer\" Time=\"3000\" WishLists=\"Dance\" Colors=\"1\"/>"
                      "<Client Name=\"Dancer\" Time=\"1000\" WishLists=\"Dance\" Colors=\"2\"/>"
                      "<Client Name=\"Dancer\" Time=\"500\" RefClient=\"1\" "
                      "RefClientEndActions=\"Dance\" WishLists=\"Dance\"/>" +
                          pairOf("Dancer", "AT=\"700\" ARC=\"2\" ARCSA=\"Dance\"",
                                 {"Dance", "Dance", "Dance"})) +
           level("2", "<Client Name=\"Ghost\" WishLists=\"Dance\"/>" +
                          pairOf("Dancer", "", {"Nowhere", "Dance"})) +
           level("3", "<Client Name=\"Dancer\" WishLists=\"Dance\" Colors=\"1\"/>"
                      "<Client Name=\"Dancer\" WishLists=\"Dance\" Colors=\"1\"/>"
                      "<Client Name=\"Dancer\" WishLists=\"Dance\" Colors=\"2\"/>"
                      "<Client Name=\"Dancer\" WishLists=\"Dance\"/>") +
           level("2", pairOf("Low", "", {"Dance", "Dance"}) +
                          "<Client Name=\"Low\" WishLists=\"Dance\"/>"
                          "<Client Name=\"Dancer\" WishLists=\"Dance\"/>") +
           "</LevelsConfiguration>";
}

const char* const kQueueLocations[] = {"DancePad1", "DancePad2", "Desk",
                                       "Boombox",   "QueueBox",  "Megaphone"};

std::string queueLevelScene() {
    std::string locations;
    for (const char* name : kQueueLocations)
        locations += located(name, 0);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\">" +
           nodeNamed("BaseNode", "Bg") +
           nodeNamed("ControlNode", "AppearLocations",
                     located("Hero", 0) + located("Queue1", 100) + located("Queue2", 200) +
                         located("Queue3", 300)) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder") + "</SceneNode>";
}

std::string queueUpgrades() {
    std::string slots;
    for (const char* slot : kQueueLocations)
        slots += std::string("<U Name=\"") + slot + "\" Type=\"" +
                 (std::string(slot).rfind("DancePad", 0) == 0 ? "Pad" : slot) + "\" Price=\"0\"/>";
    std::string levelsUpgrades;
    for (int index = 1; index <= 4; ++index)
        levelsUpgrades += "<Level Index=\"" + std::to_string(index) + "\"><Locations>" + slots +
                          "</Locations><Staff></Staff><Env></Env></Level>";
    return "<Upgrades>" + levelsUpgrades + "</Upgrades>";
}

// The fixture's templates with a boombox whose four hearts circle it, a queue box and a
// megaphone.
std::string queueTemplates() {
    std::string collection = templates();
    const std::string hearts =
        fixture_levels::element("GBoomboxHeartsEffectNode", "",
                                "<string Name=\"Name\" Value=\"Hearts\"/>"
                                "<string Name=\"ObjTemplateID\" Value=\"Heart\"/>"
                                "<vector2d Name=\"ObjectsCountRange\" Value=\"4;4\"/>");
    const std::string added =
        nodeNamed("BaseNode", "Boombox", hearts) + nodeNamed("BaseNode", "QueueBox") +
        nodeNamed("BaseNode", "Megaphone") +
        nodeNamed("BaseNode", "Heart", "", "<vector3d Name=\"Bounds\" Value=\"20;16;0\"/>");
    collection.insert(collection.rfind("</SceneNode>"), added);
    return collection;
}

class LevelQueueTest : public FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", levels());
        harness->write("levels/common/LocationConfigs.xml",
                       "<ObjectConfigurations>" + locationConfig("Pad", "Dance") +
                           locationConfig("Desk", "CheckOut") + locationConfig("Boombox", "Music") +
                           locationConfig("QueueBox", "QueueCheer") +
                           locationConfig("Megaphone", "QueueBoost") + "</ObjectConfigurations>");
        harness->write("levels/common/StaffConfigs.xml", kStaffConfigs);
        harness->write("levels/common/ResourceConfigs.xml", resourceConfigs());
        const std::string look = "<TemplateName Value=\"Dancer\"/>";
        harness->write(
            "levels/common/ClientConfigs.xml",
            "<ObjectConfigurations>" + fixture_clients::client("Dancer", "4.999", "0", "-1", look) +
                fixture_clients::client("Low", "3.5", "0", "-1", look) + "</ObjectConfigurations>");
        harness->write("levels/common/ClientWishListConfigs.xml",
                       "<ObjectConfigurations><ClientWishList Name=\"Dance\">"
                       "<Resource Name=\"Dance\"/></ClientWishList></ObjectConfigurations>");
        harness->write("levels/setting3/Level.qscn", queueLevelScene());
        harness->write("levels/setting3/TemplateCollection.qscn", queueTemplates());
        harness->write("levels/setting3/Upgrades.xml", queueUpgrades());
        ASSERT_TRUE(harness->start());
    }

    static const GGameLevelScene::SpawnRecord& record(uint32_t index) {
        return level().getSpawnRecords()[index];
    }
    static GLocationNode* slot(uint32_t index) { return level().getQueueSlots()[index].get(); }
    static std::string clientAt(GLocationNode* location) {
        const auto& clients = location->getClients();
        return clients.size() != 0 && clients[0].get() != nullptr
                   ? clients[0]->getName().toString().c_str()
                   : "";
    }
    static GClientNode* clientNamed(const char* name) { return level().findClient(named(name)); }
    static void advanceUntil(uint32_t frames, const std::function<bool()>& done) {
        for (uint32_t i = 0; i < frames && !done(); ++i)
            harness->advance(1);
    }
};

TEST_F(LevelQueueTest, EntriesAreArmedByTimeAndByTheClientsTheyWatch) {
    ASSERT_EQ(level().getSpawnRecords().size(), 4u);
    EXPECT_EQ(record(0).countdown, 3000) << "armed at the start";
    EXPECT_EQ(record(1).countdown, -1) << "waits for the first to come";
    EXPECT_EQ(record(2).countdown, -1) << "waits for client 1";
    harness->advance(150);
    EXPECT_FALSE(record(0).spawned) << "3000 ms: the countdown is at 0, not below";
    harness->advance(1);
    ASSERT_TRUE(record(0).spawned);
    EXPECT_EQ(clientAt(slot(0)), "1");
    EXPECT_EQ(harness->trace().cueTicks("NewClient"), std::vector<uint32_t>{151});
    EXPECT_EQ(record(1).countdown, 980) << "armed once the first came, and counted in that pass";
    EXPECT_EQ(clientNamed("1")->getColor(), 1);

    // Client 1 starting its dance does not arm the entry that waits for it to end one.
    clientNamed("1")->moveToLocation(findLocation("DancePad1"));
    level().armClientQueueFor(clientNamed("1"), false, false, false);
    EXPECT_EQ(record(2).countdown, -1);
    level().armClientQueueFor(clientNamed("1"), false, true, false);
    EXPECT_EQ(record(2).countdown, 500);

    harness->advance(49);
    EXPECT_FALSE(record(1).spawned);
    harness->advance(1);
    ASSERT_TRUE(record(1).spawned);
    EXPECT_EQ(clientAt(slot(0)), "2");
    // Entry 4 watches client 2, which leaves: it is armed at once.
    level().forgetEnteredClient(clientNamed("2"));
    EXPECT_EQ(record(3).countdown, -1);
    level().armClientQueueFor(nullptr, false, false, false);
    EXPECT_EQ(record(3).countdown, 700);
}

TEST_F(LevelQueueTest, InTutorialModeArmedEntriesComeAtOnceAndReferencesAreReadyOnceSpawned) {
    level().setTutorialQueueMode(true);
    level().spawnQueuedClients(level().getLevelConfig()->clientsQueue,
                               harness->levelManager().getTemplateCollection());
    level().armClientQueue();
    EXPECT_EQ(record(0).countdown, 0);
    harness->advance(1);
    ASSERT_TRUE(record(0).spawned);
    EXPECT_EQ(record(1).countdown, -1) << "the tutorial arms the next itself";
    level().armClientQueue();
    EXPECT_EQ(record(1).countdown, 0);
    EXPECT_EQ(record(2).countdown, 0) << "client 1 has come";
    harness->advance(200);
    EXPECT_FALSE(level().isClosed()) << "the tutorial keeps the day open";
    level().setTutorialQueueMode(false);
}

TEST_F(LevelQueueTest, AGroupOfThreeStandsOnOneSlotLedByItsFirst) {
    ASSERT_TRUE(level().placeQueuedClient(slot(0), 3));
    GClientNode* head = clientNamed("4_1");
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->getFollower(), clientNamed("4_2"));
    ASSERT_NE(clientNamed("4_2"), nullptr);
    EXPECT_EQ(clientNamed("4_2")->getFollower(), clientNamed("4_3"));
    EXPECT_NE(clientNamed("4_3"), nullptr);
    ASSERT_EQ(slot(0)->getClients().size(), 1u) << "only the head stands on the slot";
    EXPECT_EQ(clientAt(slot(0)), "4_1");
    EXPECT_FALSE(level().placeQueuedClient(slot(1), 3)) << "spawned already";
}

// A type without configuration leaves its entry empty, which arms the next when due; in a
// group whose first client wants nothing the level offers, the second leads.
TEST_F(LevelQueueTest, BadEntriesAndClientsThatDoNotEnterLetTheQueueGoOn) {
    const CString log = harness->game.logText().c_str();
    load(2);
    const std::string warnings = harness->game.logText().substr(log.length());
    EXPECT_NE(warnings.find("Client queue entry 1: the client type \"Ghost\" is not configured"),
              std::string::npos)
        << warnings;
    EXPECT_EQ(record(0).createdClients.size(), 0u);
    ASSERT_EQ(record(1).createdClients.size(), 2u);
    // Due at once, it arms the next, which comes in the same pass.
    harness->advance(1);
    EXPECT_TRUE(record(0).spawned);
    ASSERT_TRUE(record(1).spawned);
    EXPECT_EQ(clientNamed("2_1"), nullptr) << "wants nothing served here";
    EXPECT_EQ(record(1).enteredClients[0].get(), nullptr);
    EXPECT_EQ(clientAt(slot(0)), "2_2") << "the first that entered leads";
    EXPECT_EQ(record(1).enteredClients[1].get(), clientNamed("2_2"));
    EXPECT_EQ(harness->trace().cueTicks("NewClient").size(), 1u);
}

TEST_F(LevelQueueTest, NewcomersPushTheQueueBackAFullQueueWaitsAndColoursEvenOut) {
    load(3);
    // Each that comes arms the next, which pushes it back a slot in the same pass.
    harness->advance(1);
    EXPECT_EQ(clientAt(slot(0)), "3");
    EXPECT_EQ(clientAt(slot(1)), "2");
    EXPECT_EQ(clientAt(slot(2)), "1");
    // Two blue and one red: green is the least worn of the three colours.
    EXPECT_EQ(level().chooseClientColor(0), 3);
    EXPECT_EQ(level().chooseClientColor(5), 5);

    harness->advance(10);
    EXPECT_FALSE(record(3).spawned) << "the queue is full";
    EXPECT_EQ(record(3).countdown, 0);
    clientNamed("3")->moveToLocation(findLocation("DancePad1"));
    harness->advance(1);
    ASSERT_TRUE(record(3).spawned);
    EXPECT_EQ(clientAt(slot(0)), "4");
    EXPECT_EQ(clientAt(slot(1)), "2");
    EXPECT_EQ(clientAt(slot(2)), "1");
    EXPECT_EQ(clientNamed("4")->getColor(), 3);
}

TEST_F(LevelQueueTest, TheQueueBoxCheersEveryWaitingGroupUp) {
    load(4);
    ASSERT_TRUE(level().placeQueuedClient(slot(0), 0));
    ASSERT_TRUE(level().placeQueuedClient(slot(1), 1));
    EXPECT_TRUE(level().queueBoxAction(findLocation("Desk"), 1));
    for (const char* name : {"1_1", "1_2", "2"})
        EXPECT_FLOAT_EQ(clientNamed(name)->getHearts(), 4.499f) << name;
    harness->advance(1);
    EXPECT_EQ(harness->trace().cueTicks("QueueBoxAction").size(), 1u);
}

TEST_F(LevelQueueTest, ABoomboxHeartFliesToTheSaddestClient) {
    load(4);
    GLocationNode* boombox = findLocation("Boombox");
    EXPECT_FALSE(level().giveBoomboxHeart(boombox, 1)) << "nobody at a location";
    ASSERT_TRUE(level().placeQueuedClient(slot(0), 0));
    ASSERT_TRUE(level().placeQueuedClient(slot(1), 2));
    clientNamed("1_1")->setFollower(nullptr);
    clientNamed("1_1")->moveToLocation(findLocation("DancePad1"));
    clientNamed("3")->moveToLocation(findLocation("DancePad2"));
    harness->advance(1);
    auto* hearts = static_cast<GBoomboxHeartsEffectNode*>(
        boombox->getTemplateRoot()->findChild(named("Hearts"), 1));
    ASSERT_NE(hearts, nullptr);
    ASSERT_EQ(hearts->getObjects().size(), 4u);

    ASSERT_TRUE(level().giveBoomboxHeart(boombox, 1));
    GClientNode* sad = clientNamed("1_1");
    EXPECT_FLOAT_EQ(sad->getHearts(), 4.499f);
    EXPECT_FLOAT_EQ(clientNamed("3")->getHearts(), 4.999f);
    EXPECT_EQ(hearts->getObjects().size(), 3u);
    BaseNode* effects = level().getEffectsHolder();
    ASSERT_EQ(effects->getChildCount(), 1u);
    auto* magnet = static_cast<GMagnetMovableNode*>(effects->getChild(0));
    ASSERT_TRUE(magnet->isKindOf(GMagnetMovableNode::kTypeId));
    EXPECT_EQ(magnet->getTarget(), sad->getHeartIcon(3.5f + 1));
    EXPECT_EQ(magnet->getVelocity().y, -400);
    EXPECT_TRUE(sad->areHeartsFrozen());
    EXPECT_TRUE(sad->keepsHeartsShown());

    advanceUntil(500, [&] { return effects->getChildCount() == 0; });
    EXPECT_EQ(effects->getChildCount(), 0u);
    EXPECT_FALSE(sad->areHeartsFrozen());
    EXPECT_FALSE(sad->keepsHeartsShown());
    EXPECT_EQ(harness->trace().cueTicks("BoomboxAction").size(), 1u);
}

// A staff member fetching at the queue box, the megaphone or the boombox carries nothing away:
// the item acts on the level at once. The queue holds a pair, one client dances.
TEST_F(LevelQueueTest, StaffTakingItemsThatActOnTheLevelCheerClientsUp) {
    struct Case {
        const char* location;
        bool seated;
        float queuedGain;
        float seatedGain;
        std::vector<const char*> cues;
    };
    const Case cases[] = {
        {"QueueBox", true, 1, 1, {"QueueBoxAction", "BoomboxAction", "ItemTaken"}},
        {"Megaphone", true, 1, 0, {"QueueBoxAction", "ItemTaken"}},
        {"Boombox", true, 0, 1, {"BoomboxAction", "ItemTaken"}},
        {"Boombox", false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.location) + (c.seated ? "" : ", nobody at a location"));
        load(4);
        ASSERT_TRUE(level().placeQueuedClient(slot(0), 0));
        ASSERT_TRUE(level().placeQueuedClient(slot(1), 1));
        GClientNode* dancer = clientNamed("2");
        if (c.seated)
            dancer->moveToLocation(findLocation("DancePad1"));
        const float queued = clientNamed("1_2")->getHearts();
        const float seated = dancer->getHearts();
        GStaffNode* staff = hire();
        staff->enqueueTask(findLocation(c.location), CNameId(), GStaffNode::kTaskFetch);
        // Added hearts land just below the half or whole heart.
        EXPECT_NEAR(clientNamed("1_1")->getHearts(), queued + c.queuedGain, 0.002);
        EXPECT_NEAR(clientNamed("1_2")->getHearts(), queued + c.queuedGain, 0.002);
        EXPECT_NEAR(dancer->getHearts(), seated + c.seatedGain, 0.002);
        for (const CNameId hand : staff->getCarried())
            EXPECT_EQ(hand, CNameId());
        harness->advance(1);
        for (const char* cue : {"QueueBoxAction", "BoomboxAction", "ItemTaken"}) {
            const bool played =
                std::find(c.cues.begin(), c.cues.end(), std::string(cue)) != c.cues.end();
            EXPECT_EQ(cueCount(cue), played ? 1u : 0u) << cue;
        }
        // An exclusive cue still playing would not start again in the next case.
        const CSoundPlayer& sound = *harness->game.engine().getSoundPlayer();
        advanceUntil(500, [&] { return !sound.isCuePlaying(named("QueueBoxAction")); });
    }
}

// The level arms the entries that watch a client from the client's own events, and forgets a
// client that leaves, unless the tutorial drives the queue.
TEST_F(LevelQueueTest, ClientEventsArmEntriesUnlessTheTutorialDrivesTheQueue) {
    for (const bool tutorial : {false, true}) {
        SCOPED_TRACE(tutorial);
        load(1);
        harness->advance(151);
        ASSERT_TRUE(record(0).spawned);
        level().setTutorialQueueMode(tutorial);
        GClientNode* first = clientNamed("1");
        first->moveToLocation(findLocation("DancePad1"));
        const CRefPointer<CEvent> ended(new GClientSpeedUpEvent(first, named("Dance")));
        EXPECT_TRUE(level().OnEvent(*ended));
        EXPECT_EQ(record(2).countdown, tutorial ? -1 : 500);
        const CRefPointer<CEvent> left(new GClientLeaveEvent(first));
        EXPECT_FALSE(level().OnEvent(*left)) << "the screen sees it too";
        EXPECT_EQ(record(0).enteredClients[0].get() == nullptr, !tutorial);
        EXPECT_EQ(level().getServedClients(), 1);
        level().setTutorialQueueMode(false);
    }
}

} // namespace
