#include <gtest/gtest.h>

#include <string>

#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeState.h"
#include "tests/game/level/FixtureClients.h"

// A client's hearts as they fall and rise, and what the player sees of it: heart icons, hearts
// hidden during service, the action panel, hover, moods and group wishes.
namespace {

using namespace fixture_clients;

class ClientDisplayTest : public FixtureClientTest {};

std::string iconStates(const GClientNode& client) {
    std::string states;
    for (uint32_t i = 0; i < uint32_t(client.getMaxHearts()); ++i) {
        const NodeState* state = client.getHeartsNode()->getChild(i)->getCurrentState();
        states += state != nullptr ? state->getName().toString().c_str() : "-";
        states += " ";
    }
    return states;
}

TEST_F(ClientDisplayTest, HeartsFallAndSnapAsTheTableSays) {
    struct Case {
        const char* type;
        uint32_t firstMs;
        uint32_t secondMs;
        float added;
        float hearts;
        // A lost whole heart shows as "Upset"; the fall below 2 as "Less2HeartsTo".
        const char* animation;
        uint32_t angryCues;
    };
    const Case cases[] = {
        // Added hearts snap just below the half or the whole heart.
        {"Counter", 0, 1400, 0.3f, 2.999f, "Upset", 0},
        {"Counter", 0, 1900, 0.4f, 2.499f, "Upset", 0},
        // Crossing 2.0 is angry, not a lost heart, though trunc went from 2 to 1.
        {"Counter", 1700, 400, 0, 1.9f, "Less2HeartsTo", 1},
        // 3.0 losing 0.0001 loses no whole heart.
        {"Slow", 0, 1, 0, 2.9999f, "Stand", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.secondMs));
        load(1);
        GClientNode* client = spawn(c.type, wishes({{{"Dance"}}}));
        // Only the calls below change the hearts.
        level().setClientGenerationPaused(true);
        client->decreaseHearts(c.firstMs, true);
        harness->advance(11);
        client->playStandAnimation();
        client->decreaseHearts(c.secondMs, true);
        EXPECT_EQ(client->getPlayingAnimation(), named(c.animation));
        if (c.added != 0)
            client->addHearts(c.added);
        EXPECT_NEAR(client->getHearts(), c.hearts, 0.0001f);
        harness->advance(1);
        EXPECT_EQ(cueCount("ClientAngryM"), c.angryCues);
    }
}

TEST_F(ClientDisplayTest, ServiceAdvances72MsInATickAtEveryFactorTogether) {
    GClientNode* client = spawn("Dancer", wishes({{{"Dance"}}}));
    client->moveToLocation(findLocation("DancePad2"));
    EXPECT_TRUE(client->giveItem(nullptr, named("Boost")));
    client->setNeighbourServingMul(1.2f);
    harness->advance(1);
    EXPECT_NEAR(client->getChosenLeaf()->orderTime, 72.0f, 0.001f)
        << "20 ms x 1.5 x 1.2 x ServingMul 2";
}

TEST_F(ClientDisplayTest, HeartIconsShowFullMediumAndEmpty) {
    struct Case {
        uint32_t lostMs;
        float added;
        const char* icons;
    };
    const Case cases[] = {
        {1600, 0, "Full Full Medium Empty Empty "},    // 2.4
        {1400, 0, "Full Full Full Empty Empty "},      // 2.6
        {2000, 0.3f, "Full Full Medium Empty Empty "}, // 2.499
        {1400, 0.3f, "Full Full Full Empty Empty "},   // 2.999
    };
    for (const Case& c : cases) {
        load(1);
        GClientNode* client = spawn("Counter", wishes({{{"Dance"}}}));
        client->decreaseHearts(c.lostMs, true);
        if (c.added != 0)
            client->addHearts(c.added);
        EXPECT_EQ(iconStates(*client), c.icons) << client->getHearts();
        EXPECT_TRUE(client->getHeartsNode()->isVisible());
    }
}

TEST_F(ClientDisplayTest, HeartsShowInTheFirst2000MsOfLifeThenHideDuringService) {
    GClientNode* client = spawn("Dancer", wishes({{{"Dance"}}}));
    client->moveToLocation(findLocation("DancePad1"));
    harness->advance(100);
    EXPECT_TRUE(client->getHeartsNode()->isVisible());
    harness->advance(2);
    EXPECT_FALSE(client->getHeartsNode()->isVisible());
    client->setHovered(true);
    EXPECT_TRUE(client->getHeartsNode()->isVisible()) << "a hovered client shows them";
}

TEST_F(ClientDisplayTest, ThePanelsButtonsChooseTheEntry) {
    struct Case {
        const char* resource;
        const char* panel;
        uint32_t buttons;
        const char* pressed;
        const char* served;
        const char* animation;
    };
    const Case cases[] = {
        {"Choice", "ActionPanel3", 3, "Button2", "Massage", "Massage"},
        {"Pair", "ActionPanel2", 2, "Button1", "Dance", "Dance1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resource);
        load(1);
        GClientNode* client = spawn("Dancer", wishes({{{c.resource}}}));
        client->moveToLocation(findLocation("DancePad1"));
        EXPECT_EQ(client->getClientState(), GClientNode::kStateChoosing);
        BaseNode* panel = client->getActionPanel();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->getName(), named("ActionPanel"));
        uint32_t shown = 0;
        for (const char* button : {"Button1", "Button2", "Button3"}) {
            const BaseNode* found = panel->findChild(named(button), 1);
            shown += found != nullptr && found->isVisible() ? 1 : 0;
        }
        EXPECT_EQ(shown, c.buttons);
        EXPECT_GE(client->getGlowButtonIndex(), 0);
        EXPECT_LT(client->getGlowButtonIndex(), int32_t(c.buttons));
        CEventControlClicked click(panel->findChild(named(c.pressed), 1));
        EXPECT_TRUE(client->OnEvent(click));
        EXPECT_EQ(client->getActionPanel(), nullptr);
        EXPECT_EQ(client->getClientState(), GClientNode::kStateSelfServing);
        EXPECT_EQ(client->getChosenLeaf()->name, named(c.served));
        EXPECT_EQ(client->getPlayingAnimation(), named(c.animation));
    }
}

TEST_F(ClientDisplayTest, HoverOnAPairsHeadQueuesMouseOverForBothAndTheCueForTheHead) {
    GClientNode* head = spawn("Dancer", wishes({{{"Dance"}}}), "Head");
    GClientNode* follower = spawn("Low", wishes({{{"Dance"}}}), "Follower");
    head->setFollower(follower);
    head->moveToLocation(level().getQueueSlots()[0].get());
    head->setHovered(true);
    EXPECT_EQ(head->getPendingAnimation(), named("MouseOver"));
    EXPECT_EQ(follower->getPendingAnimation(), named("MouseOver"));
    head->OnUpdate(0);
    follower->OnUpdate(0);
    EXPECT_EQ(head->getPlayingAnimation(), named("MouseOver"));
    EXPECT_EQ(follower->getPlayingAnimation(), named("MouseOver"));
    harness->advance(1);
    EXPECT_EQ(cueCount("ClientOverM"), 1u);
    EXPECT_EQ(cueCount("ClientOverW"), 0u) << "the follower is a woman, and quiet";
}

TEST_F(ClientDisplayTest, AForcedMoodHoldsIdleAnimationsBackUntilItEnds) {
    GClientNode* client = spawn("Dancer", wishes({{{"Dance"}}}));
    client->playMoodAnimation(false, true);
    EXPECT_EQ(client->getForcedAnimation(), named("Upset"));
    client->playStandAnimation();
    EXPECT_EQ(client->getPlayingAnimation(), named("Upset"));
    harness->advance(11);
    EXPECT_EQ(client->getForcedAnimation(), CNameId());
    client->playStandAnimation();
    EXPECT_EQ(client->getPlayingAnimation(), named("Stand"));
}

TEST_F(ClientDisplayTest, GroupWishesReadAbstractDanceAsDance) {
    GClientNode* head = spawn("Dancer", wishes({{{"Massage"}, {"Dance"}}}), "Head");
    GClientNode* follower = spawn("Dancer", wishes({{{"AbstractDance"}}}), "Follower");
    head->setFollower(follower);
    head->arrangeGroup();
    EXPECT_EQ(head->getGroupWishIndices().size(), 1u);
    EXPECT_EQ(head->getWishedResourceNames().size(), 1u);
    EXPECT_EQ(head->getWishedResourceNames()[0], named("Dance"));
    EXPECT_EQ(follower->getPosition().x, head->getPosition().x + 25);
    EXPECT_FALSE(follower->getHeartsNode()->isVisible()) << "it stands with its head";
}

} // namespace
