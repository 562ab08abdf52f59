#include "game/level/MiniGameDanceScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/scene/NodeState.h"
#include "tests/game/level/FixtureDanceAndRoulette.h"

// The dance game over the fixture clients' level: a client of the type "Star" is danced by a
// copy of the template its type names, whose "Body" stands ("Less2Hearts", the copy having no
// hearts) until it answers a hit ("Dance4") or a miss ("Less2Hearts1") in 700 ms. The
// configuration's first record is the track 100, 50, 100 at 250 units a second: 5 units a tick,
// which the marker's 42 does not divide.
namespace {

using fixture_minigames::configuration;
using fixture_minigames::MiniGameTest;

constexpr float kMarker = 200;
constexpr int32_t kNoRecord = 7;

std::string starClientConfigs() {
    std::string configs = fixture_clients::clientConfigs();
    configs.insert(
        configs.rfind("</ObjectConfigurations>"),
        fixture_clients::client("Star", "4", "0", "-1", "<TemplateName Value=\"Star\"/>"));
    return configs;
}

// A state of 700 ms, or one that plays until another starts.
std::string lasting(const char* name, bool loops = false) {
    return std::string("<State Name=\"") + name +
           "\"><Animator Type=\"KeyFrame\"><Properties><vector3d Name=\"Scale\" "
           "Value=\"1;1;1\"/></Properties><KeyFrame t=\"0\" Value0=\"1;1;1\"/><KeyFrame "
           "t=\"700\"" +
           (loops ? " g=\"0\"" : "") + " Value0=\"1;0.9;1\"/></Animator></State>";
}

std::string templatesWithStar() {
    std::string templates = fixture_clients::templates();
    const std::string body =
        "<SceneNode Type=\"BaseNode\"><Properties><string Name=\"Name\" Value=\"Body\"/>"
        "</Properties><States>" +
        lasting("Dance4") + lasting("Less2Hearts1") + lasting("Less2Hearts", true) +
        "</States></SceneNode>";
    templates.insert(
        templates.rfind("</SceneNode>"),
        fixture_levels::nodeNamed("GClientNode", "Star",
                                  body + fixture_levels::nodeNamed("BaseNode", "Color")));
    return templates;
}

class MiniGameDanceTest : public MiniGameTest {
protected:
    static void SetUpTestSuite() {
        MiniGameTest::SetUpTestSuite();
        harness->write("minigames/Dance.qscn", fixture_minigames::danceScene());
        harness->write("levels/minigames/dance/MiniGameConfiguration.xml",
                       configuration({{{"speed", 250},
                                       {"BlockWidths", 100},
                                       {"BlockWidths", 50},
                                       {"BlockWidths", 100}}}));
        harness->write("levels/common/ClientConfigs.xml", starClientConfigs());
        harness->write("levels/setting3/TemplateCollection.qscn", templatesWithStar());
    }

    static GClientNode* star(int32_t colour = 4) {
        GClientNode* client = spawn("Star", fixture_clients::wishes({{{"Dance"}}}), "3_1", "Star");
        client->setColor(colour);
        return client;
    }
    // Held here, so that it can be looked at once closed.
    static CRefPointer<GMiniGameDanceScene> openDance(int32_t configuration, GClientNode* client) {
        return CRefPointer<GMiniGameDanceScene>::share(
            open<GMiniGameDanceScene>(u"minigames/Dance.qscn", configuration, client));
    }
    // Frames until it holds, or -1 past the limit.
    template <typename Holds>
    static int32_t advanceUntil(Holds holds, int32_t limit = 400) {
        for (int32_t frames = 0; frames <= limit; ++frames) {
            if (holds())
                return frames;
            harness->advance(1);
        }
        return -1;
    }
    // The track has moved until its point u, 0 being its start, lies under the marker.
    static void scrollTo(const GMiniGameDanceScene& game, float u) {
        const auto reached = [&] {
            const auto& blocks = game.getBlocks();
            return blocks.size() != 0 && blocks[0]->getPosition().x <= kMarker - u;
        };
        ASSERT_GE(advanceUntil(reached), 0) << u;
        ASSERT_EQ(game.getBlocks()[0]->getPosition().x, kMarker - u) << "whole steps meet it";
    }
    static void press(const GMiniGameDanceScene& game) {
        harness->click(*nodeIn(&game, "Line"));
        harness->advance(1);
    }
    static CNameId bodyState(const GClientNode& dancer) {
        const NodeState* state = nodeIn(&dancer, "Body")->getCurrentState();
        return state != nullptr ? state->getName() : CNameId();
    }
};

TEST_F(MiniGameDanceTest, TheTrackIsItsWidthsInTurnBlockGapBlockWithoutSeams) {
    CRefPointer<GMiniGameDanceScene> game = openDance(0, nullptr);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->getSpeed(), 250.f);
    ASSERT_GE(advanceUntil([&] { return game->getWidths().size() == 0; }), 0);
    std::vector<std::pair<bool, float>> runs;
    float end = game->getBlocks()[0]->getPosition().x;
    for (const CRefPointer<SpriteNode>& piece : game->getBlocks()) {
        EXPECT_EQ(piece->getPosition().x, end) << "each piece starts where the last ended";
        end = piece->getPosition().x + piece->getBounds().x;
        const bool block = piece->getImage() != nullptr;
        if (runs.empty() || runs.back().first != block)
            runs.emplace_back(block, 0.f);
        runs.back().second += piece->getBounds().x;
    }
    const std::vector<std::pair<bool, float>> expected = {{true, 100}, {false, 50}, {true, 100}};
    EXPECT_EQ(runs, expected);
}

TEST_F(MiniGameDanceTest, AClickOnABlockEdgeHitsAndOnAGapMissesOnlyTheFirstClickPlays) {
    struct Case {
        const char* where;
        float u;
        int32_t result;
        const char* answer;
    };
    const Case cases[] = {
        {"before the track", -10, 0, "Less2Hearts1"},
        {"the first block's left edge", 0, 1, "Dance4"},
        {"the first block's right edge", 100, 1, "Dance4"},
        {"the middle of the gap", 125, 0, "Less2Hearts1"},
        {"the second block's left edge", 150, 1, "Dance4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        load(1);
        harness->advance(1);
        CRefPointer<GMiniGameDanceScene> game = openDance(0, star());
        ASSERT_TRUE(game);
        ASSERT_NE(game->getDancer(), nullptr);
        scrollTo(*game, c.u);
        press(*game);
        EXPECT_EQ(game->getResult(), c.result);
        EXPECT_EQ(bodyState(*game->getDancer()), fixture_levels::named(c.answer));
    }
    // A second click over a block changes nothing.
    load(1);
    harness->advance(1);
    CRefPointer<GMiniGameDanceScene> game = openDance(0, star());
    ASSERT_TRUE(game);
    scrollTo(*game, 125);
    press(*game);
    scrollTo(*game, 150);
    press(*game);
    EXPECT_EQ(game->getResult(), 0);
}

TEST_F(MiniGameDanceTest, TheGameClosesHalfASecondAfterTheAnswerOrOnceTheTrackHasPassed) {
    // Without a record: one block of 100 at 250, gone from the track after 680 units.
    CRefPointer<GMiniGameDanceScene> game = openDance(kNoRecord, nullptr);
    ASSERT_TRUE(game);
    EXPECT_EQ(game->getSpeed(), 250.f);
    float made = 0;
    ASSERT_GE(advanceUntil([&] {
                  for (const CRefPointer<SpriteNode>& piece : game->getBlocks()) {
                      EXPECT_NE(piece->getImage(), nullptr) << "no gap";
                      made = std::max(made, piece->getPosition().x + piece->getBounds().x -
                                                game->getBlocks()[0]->getPosition().x);
                  }
                  return game->isClosed();
              }),
              0);
    EXPECT_EQ(made, 100.f);
    EXPECT_EQ(game->getBlocks().size(), 0u);
    harness->advance(2);
    EXPECT_EQ(current(), &level());

    // A miss: the answer lasts 700 ms, then 500 ms pass before the close.
    game = openDance(0, star());
    ASSERT_TRUE(game);
    press(*game);
    const int32_t answer =
        advanceUntil([&] { return game->getDancer()->getForcedAnimation() == CNameId(); });
    ASSERT_GE(answer, 0);
    EXPECT_NEAR(answer, 35, 1);
    const int32_t closing = advanceUntil([&] { return game->isClosed(); });
    EXPECT_NEAR(closing, 25, 1);

    // Without a dancer the click closes the game at once.
    game = openDance(0, spawn("Dancer", fixture_clients::wishes({{{"Dance"}}}), "3_2"));
    ASSERT_TRUE(game);
    EXPECT_EQ(game->getDancer(), nullptr) << "its type names no template";
    press(*game);
    EXPECT_TRUE(game->isClosed());
}

TEST_F(MiniGameDanceTest, TheDancerWearsTheClientsLookAndColour) {
    GClientNode* client = star(4);
    CRefPointer<GMiniGameDanceScene> game = openDance(0, client);
    ASSERT_TRUE(game);
    GClientNode* dancer = game->getDancer();
    ASSERT_NE(dancer, nullptr);
    EXPECT_NE(dancer, client);
    EXPECT_EQ(dancer->getParent(), nodeIn(game.get(), "Client"));
    EXPECT_TRUE(dancer->isVisible());
    EXPECT_NE(nodeIn(dancer, "Body")->findState(fixture_levels::named("Dance4")), nullptr)
        << "the look of the template \"Star\"";
    EXPECT_EQ(dancer->getColor(), 4);
    EXPECT_EQ(nodeIn(dancer, "Color")->getTintColor().value,
              GGameLevelScene::getColorValue(4).value);
}

} // namespace
