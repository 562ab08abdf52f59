#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/scene/SceneManager.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/LocationNode.h"
#include "tests/game/level/LevelHarness.h"

// Clients of the game's own content on level 1's pads: they dance, show their wish and hearts,
// wait at the check-out, pay and leave with their goodbye.
namespace {

CNameId named(const char* text) {
    return CNameId(CString(text));
}

class LevelOneClientsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        harness = std::make_unique<LevelHarness>();
        ASSERT_TRUE(harness->start());
    }
    static void TearDownTestSuite() { harness.reset(); }

    static GLocationNode* pad(const char* name) {
        for (const CRefPointer<GLocationNode>& location : harness->level().getLocations()) {
            if (location->getName() == named(name))
                return location.get();
        }
        return nullptr;
    }

    // As the level spawns a client of the shipped type with one "Dance" order.
    static GClientNode* spawnDancer(const char* name, const char* typeName = "Dancer") {
        GGameLevelScene& level = harness->level();
        TemplateCollectionNode* templates = harness->levelManager().getTemplateCollection();
        const GClientConfig* type =
            level.getObjectConfigurations()->getClientConfig(named(typeName));
        const CRefPointer<BaseNode> made =
            templates->getTemplate(type->templateName)
                ->clone(level.findChild(named("CharactersNode"), 1), nullptr);
        GClientNode* client = asGClientNode(made.get());
        client->setName(named(name));
        client->OnPostSceneNodeInit(templates);
        CArray<GClientOrder> orders;
        orders.append(GClientOrder{named("Dance"), {}});
        client->setClientData(const_cast<GClientConfig*>(type), nullptr,
                              level.buildWishList(orders).get());
        client->setLevel(&level);
        return client;
    }

    static std::unique_ptr<LevelHarness> harness;
};

std::unique_ptr<LevelHarness> LevelOneClientsTest::harness;

TEST_F(LevelOneClientsTest, ADancerOnAPadDancesWaitsAtTheCheckOutAndLeaves) {
    // The second pad lies under the harness's pointer, where hover shows everything.
    for (const char* name : {"DancePad1"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(harness->loadLevel(1), nullptr);
        GClientNode* client = spawnDancer("C1");
        ASSERT_EQ(client->getClientState(), GClientNode::kStateWaiting);
        client->moveToLocation(pad(name));
        EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
        const CString dance = client->getPlayingAnimation().toString();
        EXPECT_TRUE(dance == CString("Dance1") || dance == CString("Dance2") ||
                    dance == CString("Dance3"));
        BaseNode* wish = client->getIconsNode()->getChild(0);
        EXPECT_TRUE(wish->isVisible());
        const auto* image = static_cast<SpriteNode*>(wish->findChild(named("Icon"), 1));
        EXPECT_NE(image->getImage(), nullptr) << "the icon of \"Dance\"";
        harness->advance(50);
        EXPECT_TRUE(client->getHeartsNode()->isVisible());
        EXPECT_FALSE(wish->isVisible()) << "a wish in progress hides but for hover";
        harness->advance(60);
        EXPECT_FALSE(client->getHeartsNode()->isVisible());
        for (uint32_t tick = 0;
             tick < 400 && client->getClientState() != GClientNode::kStateAtCheckOut; ++tick)
            harness->advance(1);
        ASSERT_EQ(client->getClientState(), GClientNode::kStateAtCheckOut);
        EXPECT_TRUE(client->getHeartsNode()->isVisible());
        const GObjectRef<GClientNode> weak(client);
        client->checkOut();
        EXPECT_EQ(client->getClientState(), GClientNode::kStateLeaving);
        EXPECT_EQ(client->getGoodbyeAnimation(), named("GoodBye"));
        EXPECT_EQ(harness->trace().eventsOf<GClientLeaveEvent>().size(), 1u)
            << "handed to the level";
        EXPECT_EQ(harness->level().getServedClients(), 1);
        EXPECT_EQ(harness->level().getHeartsTotal(), std::ceil(client->getHearts()));
        harness->advance(30);
        EXPECT_NE(weak.get(), nullptr) << "the goodbye lasts 800 ms";
        harness->advance(15);
        EXPECT_EQ(weak.get(), nullptr);
        EXPECT_FALSE(pad(name)->hasClients());
    }
}

// The shipped tecktonik's look holds the hearts it sends: a dancer arriving next to it on
// level 1's pads gets a sixth heart, and one orbiting heart flies to it and is gone.
TEST_F(LevelOneClientsTest, AShippedTecktonikSendsItsNeighbourAHeart) {
    ASSERT_NE(harness->loadLevel(1), nullptr);
    GClientNode* tecktonik = spawnDancer("T", "Tecktonik");
    tecktonik->moveToLocation(pad("DancePad1"));
    harness->level().startClientAction(*pad("DancePad1"), *tecktonik);
    harness->advance(5);
    GClientNode* dancer = spawnDancer("D");
    dancer->moveToLocation(pad("DancePad2"));
    harness->level().startClientAction(*pad("DancePad2"), *dancer);
    EXPECT_EQ(dancer->getMaxHearts(), 6);
    EXPECT_EQ(harness->flyingHearts(), 1u);
    EXPECT_TRUE(dancer->keepsHeartsShown());
    harness->advance(150);
    EXPECT_EQ(harness->flyingHearts(), 0u);
    EXPECT_FALSE(dancer->areHeartsFrozen());
    EXPECT_EQ(harness->trace().cueTicks("TecktonikAction").size(), 1u);
}

} // namespace
