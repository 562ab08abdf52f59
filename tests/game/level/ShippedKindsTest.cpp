#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/ui/SpawnerNode.h"
#include "game/effects/BoomboxHeartsEffectNode.h"
#include "game/effects/HipHopHeartsNode.h"
#include "game/effects/QueueBoxEffectNode.h"
#include "game/effects/SpeedUpNode.h"
#include "tests/game/level/FixtureClients.h"

// The location kinds, staff and client types of the shipped content at work in a level of the
// test's own: setting 1's templates and the shipped records, in a room that holds one of each
// kind, with the masseur and the fitness trainer bought.
namespace {

using fixture_clients::wishes;
using fixture_levels::at;
using fixture_levels::named;
using fixture_levels::nodeNamed;

struct Slot {
    const char* name;
    float x;
    float y;
};

const Slot kLocations[] = {{"DancePad1", 300, 300},     {"DancePad2", 480, 300},
                           {"MassageTable1", 300, 520}, {"FitnessPlace1", 700, 520},
                           {"QueueBox1", 200, 180},     {"Boombox1", 700, 180}};

std::string place(const char* name, float x, float y) {
    return "<SceneNode Type=\"ControlNode\" ClassOverride=\"GLocationNode\"><Properties>"
           "<string Name=\"Name\" Value=\"" +
           std::string(name) + "\"/>" + at(x, y, 2) + "</Properties></SceneNode>";
}

std::string levelScene() {
    std::string locations;
    for (const Slot& slot : kLocations)
        locations += place(slot.name, slot.x, slot.y);
    const std::string appear = place("Hero", 512, 640) + place("Queue1", 90, 370) +
                               place("Masseur", 400, 520) + place("Fitness", 600, 520);
    return "<SceneNode Type=\"SceneNode\" ClassOverride=\"GGameLevelScene\"><Properties>"
           "<vector3d Name=\"Bounds\" Value=\"1024;768;0\"/></Properties>" +
           nodeNamed("BaseNode", "Bg") + nodeNamed("ControlNode", "AppearLocations", appear) +
           nodeNamed("ControlNode", "CharactersNode") +
           nodeNamed("ControlNode", "LocationsNode", locations) +
           nodeNamed("BaseNode", "EffectsHolder", "", at(0, 0, 900)) + "</SceneNode>";
}

std::string upgrades() {
    std::string locations;
    for (const Slot& slot : kLocations) {
        const std::string type = std::string(slot.name) == "DancePad2" ? "DancePad1" : slot.name;
        locations +=
            std::string("<U Name=\"") + slot.name + "\" Type=\"" + type + "\" Price=\"0\"/>";
    }
    return "<Upgrades><Level Index=\"1\"><Locations>" + locations +
           "</Locations><Staff><U Name=\"Hero\" Type=\"Hero1\" Price=\"0\"/>"
           "<U Name=\"Masseur\" Type=\"Masseur1\" Price=\"0\"/>"
           "<U Name=\"Fitness\" Type=\"FitnessTrainer1\" Price=\"0\"/></Staff><Env></Env>"
           "</Level></Upgrades>";
}

const char kLevels[] =
    "<LevelsConfiguration><Level><LevelIndex Value=\"1\"/><SettingIndex Value=\"1\"/>"
    "<HeroType Value=\"Hero1\"/><ColorsCount Value=\"1\"/><LevelTime Value=\"600\"/>"
    "<TargetMoney Value=\"1000\"/></Level></LevelsConfiguration>";

class ShippedKindsTest : public fixture_clients::FixtureClientTest {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        harness->write("levels/common/LevelConfigs.xml", kLevels);
        harness->write("levels/common/LevelConfigsEasy.xml", kLevels);
        harness->write("levels/setting1/Level.qscn", levelScene());
        harness->write("levels/setting1/Upgrades.xml", upgrades());
        harness->write("levels/setting1/UpgradesEasy.xml", upgrades());
        ASSERT_TRUE(harness->start());
    }

    // A client of the type, in its own look, placed at the location as the player drops one.
    static GClientNode* seat(const char* type, const char* resource, const char* location,
                             const char* name = "C1") {
        GClientNode* client = spawn(type, wishes({{{resource}}}), name, type);
        GLocationNode* at = findLocation(location);
        client->placeAtClientPoint(*at);
        client->moveToLocation(at);
        level().startClientAction(*at, *client);
        return client;
    }

    static bool advanceUntil(uint32_t frames, const std::function<bool()>& done) {
        for (uint32_t i = 0; i < frames && !done(); ++i)
            harness->advance(1);
        return done();
    }

    template <typename Node>
    static std::vector<Node*> childrenOf(const BaseNode& parent) {
        std::vector<Node*> found;
        for (uint32_t i = 0; i < parent.getChildCount(); ++i) {
            if (parent.getChild(i)->isKindOf(Node::kTypeId))
                found.push_back(static_cast<Node*>(parent.getChild(i)));
        }
        return found;
    }
};

// The masseur serves a massage at the table and the fitness trainer a workout at the fitness
// place, each from its own place next to it, until the client wants to pay.
TEST_F(ShippedKindsTest, StaffServeTheirServiceAtTheirLocation) {
    struct Case {
        const char* location;
        const char* client;
        const char* resource;
        const char* staff;
        const char* config;
    };
    const Case cases[] = {
        {"MassageTable1", "Relaxer", "Massage", "Masseur", "Masseur1"},
        {"FitnessPlace1", "Athlete", "Fitness", "Fitness", "FitnessTrainer1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        load(1);
        GStaffNode* staff = level().findStaff(named(c.staff));
        ASSERT_NE(staff, nullptr);
        EXPECT_EQ(staff->getConfig()->name, named(c.config));
        GClientNode* client = seat(c.client, c.resource, c.location);
        bool worked = false;
        EXPECT_TRUE(advanceUntil(1000, [&] {
            worked = worked || (staff->getStaffState() == GStaffNode::kStateWorking &&
                                staff->getLocation() == findLocation(c.location));
            return client->getClientState() == GClientNode::kStateAtCheckOut;
        }));
        EXPECT_TRUE(worked);
        const std::vector<int32_t> states = statesOf(client);
        EXPECT_NE(std::find(states.begin(), states.end(), GClientNode::kStateServedByStaff),
                  states.end());
    }
}

// The hero takes the queue box's music: its five notes rise from the box, each on its own
// way, and rest hidden again once faded.
TEST_F(ShippedKindsTest, TheQueueBoxPlaysItsNotesWhenTheHeroTakesItsMusic) {
    GLocationNode* box = findLocation("QueueBox1");
    const std::vector<GQueueBoxEffectNode*> notes =
        childrenOf<GQueueBoxEffectNode>(*box->getTemplateRoot());
    ASSERT_EQ(notes.size(), 5u);
    harness->advance(2);
    const auto shown = [&] {
        return std::count_if(notes.begin(), notes.end(),
                             [](const GQueueBoxEffectNode* note) { return note->isVisible(); });
    };
    EXPECT_EQ(shown(), 0);
    level().getHero()->enqueueTask(box, CNameId(), GStaffNode::kTaskFetch);
    ASSERT_TRUE(advanceUntil(500, [&] { return shown() != 0; }));
    EXPECT_EQ(cueCount("QueueBoxAction"), 1u);
    harness->advance(30);
    EXPECT_EQ(shown(), 5);
    for (const GQueueBoxEffectNode* note : notes) {
        ASSERT_NE(note->getNote(), nullptr);
        EXPECT_LT(note->getNote()->getPosition().y, -10) << "rising";
    }
    harness->advance(100);
    EXPECT_EQ(shown(), 0);
}

// The hero takes the boombox's music: one of its four hearts flies on a magnet to the saddest
// client, whose hearts it fills; the boombox keeps the other three.
TEST_F(ShippedKindsTest, TheBoomboxFliesAHeartToTheSaddestClient) {
    GLocationNode* boombox = findLocation("Boombox1");
    GClientNode* sad = seat("Relaxer", "Dance", "DancePad1");
    sad->addHearts(-2);
    const float hearts = sad->getHearts();
    harness->advance(1);
    auto* swarm = static_cast<GBoomboxHeartsEffectNode*>(
        boombox->getTemplateRoot()->findChild(named("Hearts"), 1));
    ASSERT_NE(swarm, nullptr);
    ASSERT_TRUE(swarm->isKindOf(GBoomboxHeartsEffectNode::kTypeId));
    EXPECT_EQ(swarm->getObjects().size(), 4u);

    level().getHero()->enqueueTask(boombox, CNameId(), GStaffNode::kTaskFetch);
    ASSERT_TRUE(advanceUntil(500, [] { return harness->flyingHearts() == 1; }));
    EXPECT_EQ(swarm->getObjects().size(), 3u);
    EXPECT_EQ(cueCount("BoomboxAction"), 1u);
    EXPECT_TRUE(advanceUntil(500, [] { return harness->flyingHearts() == 0; }));
    EXPECT_NEAR(sad->getHearts(), hearts + 1, 0.002);
}

// A hip-hop dancer on a pad keeps three hearts circling it; one sent to its neighbour flies
// there and a new one takes its place.
TEST_F(ShippedKindsTest, AHipHopDancerShowsHeartsAndSendsThem) {
    GClientNode* dancer = seat("HipHop", "Dance", "DancePad1");
    GClientNode* neighbour = seat("Relaxer", "Dance", "DancePad2", "C2");
    harness->advance(1);
    const BaseNode* found = dancer->findChild(named("Ability"), 1);
    ASSERT_NE(found, nullptr);
    auto* swarm = static_cast<const GHipHopHeartsNode*>(found->findChild(named("Hearts"), 1));
    ASSERT_TRUE(swarm != nullptr && swarm->isKindOf(GHipHopHeartsNode::kTypeId));
    EXPECT_EQ(swarm->getObjects().size(), 3u);
    dancer->sendHearts(*neighbour, 1);
    EXPECT_EQ(harness->flyingHearts(), 1u);
    EXPECT_EQ(swarm->getObjects().size(), 3u);
    EXPECT_TRUE(advanceUntil(500, [] { return harness->flyingHearts() == 0; }));
}

// A client dancing on a pad takes the speed-up from the hero: icons fly up from the pad until
// the dance is over, and are gone soon after.
TEST_F(ShippedKindsTest, APadShowsSpeedUpIconsWhileItsClientIsSpedUp) {
    GClientNode* client = seat("Relaxer", "Dance", "DancePad1");
    ASSERT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
    const BaseNode* root = findLocation("DancePad1")->getTemplateRoot();
    auto* spawner = static_cast<const SpawnerNode*>(root->findChild(named("SpeedUpIcons"), 1));
    ASSERT_TRUE(spawner != nullptr && spawner->isKindOf(SpawnerNode::kTypeId));
    harness->advance(10);
    EXPECT_TRUE(childrenOf<GSpeedUpNode>(*spawner).empty());

    ASSERT_TRUE(client->giveItem(level().getHero(), named("SpeedUp")));
    harness->advance(20);
    EXPECT_FALSE(childrenOf<GSpeedUpNode>(*spawner).empty());
    ASSERT_TRUE(advanceUntil(
        500, [&] { return client->getClientState() == GClientNode::kStateAtCheckOut; }));
    EXPECT_FALSE(spawner->isEnabled());
    harness->advance(75);
    EXPECT_TRUE(childrenOf<GSpeedUpNode>(*spawner).empty());
}

} // namespace
