#include "game/level/MiniGameScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/scene/NodeFactory.h"
#include "game/level/MiniGameBallScene.h"
#include "game/level/MiniGameConfigurations.h"
#include "tests/game/level/FixtureMiniGames.h"

// The frame every mini-game shares, and the level's side of a game opened over it.
namespace {

using namespace fixture_minigames;

// A game that counts its ticks, left presses and clicks; it consumes presses when asked to.
class CountingGame : public NodeClass<CountingGame, GMiniGameScene> {
public:
    static constexpr uint32_t kTypeId = 991;
    static constexpr const char16_t* kTypeName = u"CountingMiniGame";

    using NodeClass::NodeClass;

    bool tick(uint32_t) override {
        ++ticks;
        return true;
    }
    bool OnMouseLeftDown(CEventInputMouseLeftDown&) override {
        ++presses;
        return consumePresses;
    }
    bool OnButtonPressed(CEventControlClicked&) override {
        ++clicks;
        return true;
    }
    bool closeNow() { return close(); }

    int32_t ticks = 0;
    int32_t presses = 0;
    int32_t clicks = 0;
    bool consumePresses = false;

protected:
    ~CountingGame() override = default;
};

class MiniGameSceneTest : public MiniGameTest {
protected:
    static void SetUpTestSuite() {
        MiniGameTest::SetUpTestSuite();
        CEngineServices::instance()->getNodeFactory()->registerNodeType(
            CountingGame::kTypeName, &createNodeOf<CountingGame>);
        harness->write("minigames/Counting.qscn",
                       gameScene("CountingMiniGame", button("Button", 100, 300)));
    }

    static CRefPointer<CountingGame> openCounting() {
        CountingGame* game = open<CountingGame>(u"minigames/Counting.qscn");
        EXPECT_EQ(current(), game);
        return CRefPointer<CountingGame>::share(game);
    }

    // A client on the self-starting massage table, waiting for its massage to start.
    static GClientNode* clientOnTheTable() {
        GLocationNode* table = findLocation("Table");
        GClientNode* client = spawn("Dancer", fixture_clients::wishes({{{"Massage"}}}));
        client->placeAtClientPoint(*table);
        client->moveToLocation(table);
        EXPECT_EQ(client->getClientState(), GClientNode::kStateWaitingForStart);
        return client;
    }
    static size_t clientClicks() { return harness->trace().cueTicks("ClientClick").size(); }
    static size_t countOf(const std::string& text, const std::string& line) {
        size_t found = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++found;
        return found;
    }
};

TEST_F(MiniGameSceneTest, ALeftPressGoesToTheGameFirstAndOnToTheButtonsUnlessConsumed) {
    const CRefPointer<CountingGame> game = openCounting();
    BaseNode* button = nodeIn(game.get(), "Button");
    click(button);
    EXPECT_EQ(game->presses, 1);
    EXPECT_EQ(game->clicks, 1) << "an unconsumed press reaches the button";
    game->consumePresses = true;
    click(button);
    EXPECT_EQ(game->presses, 2);
    EXPECT_EQ(game->clicks, 1);
    game->closeNow();
}

TEST_F(MiniGameSceneTest, TheGameTicksOnlyWhileItIsTheCurrentScene) {
    const CRefPointer<CountingGame> game = openCounting();
    harness->advance(10);
    const int32_t played = game->ticks;
    EXPECT_GE(played, 8);
    SceneNode* over = game->openSceneFile(u"minigames/Ball3.qscn", false, CNameId(), CNameId());
    ASSERT_NE(over, nullptr);
    harness->advance(10);
    EXPECT_LE(game->ticks, played + 1) << "covered, it rests";
    const int32_t covered = game->ticks;
    ASSERT_TRUE(over->navigateBack(0, CNameId(), CNameId()));
    harness->advance(10);
    EXPECT_EQ(current(), game.get());
    EXPECT_GE(game->ticks, covered + 8) << "current again, it ticks again";
    game->closeNow();
}

TEST_F(MiniGameSceneTest, AGameClosesOnceAndStopsTicking) {
    const CRefPointer<CountingGame> game = openCounting();
    EXPECT_TRUE(game->closeNow());
    EXPECT_FALSE(game->closeNow()) << "a second close goes nowhere";
    harness->advance(10);
    EXPECT_EQ(current(), &level());
    EXPECT_TRUE(game->isClosed());
    const int32_t ticks = game->ticks;
    harness->advance(10);
    EXPECT_EQ(game->ticks, ticks);
    EXPECT_FALSE(game->closeNow());
    EXPECT_EQ(current(), &level()) << "the level stays";
}

// A client that arrives on a self-starting location while a game is open starts only once
// the game has closed.
TEST_F(MiniGameSceneTest, AClientArrivingWhileAGameIsOpenStartsWhenItCloses) {
    GHeroNode* hero = hireHero();
    const CRefPointer<CountingGame> game = openCounting();
    GClientNode* client = clientOnTheTable();
    level().startClientAction(*findLocation("Table"), *client);
    harness->advance(10);
    EXPECT_EQ(clientClicks(), 0u);
    EXPECT_EQ(hero->getTasks().size(), 0u) << "nobody is sent while the game is open";
    game->closeNow();
    harness->advance(10);
    EXPECT_EQ(clientClicks(), 1u);
    EXPECT_EQ(hero->getTasks().size(), 1u) << "the hero comes to serve it";
}

TEST_F(MiniGameSceneTest, AWaitingClientThatLeftMeanwhileIsDropped) {
    const CRefPointer<CountingGame> game = openCounting();
    GObjectRef<GClientNode> client = clientOnTheTable();
    level().startClientAction(*findLocation("Table"), *client.get());
    client->moveToLocation(nullptr);
    client->setParent(nullptr);
    game->closeNow();
    harness->advance(10);
    EXPECT_EQ(clientClicks(), 0u);
    EXPECT_FALSE(client) << "the level let it go";
}

// The content ships the three files; where they are missing each level scene built says so
// once.
TEST_F(MiniGameSceneTest, AMissingConfigurationIsLoggedOncePerLevelSceneBuilt) {
    const char* lines[] = {
        "Unable to find configuration for the minigame: "
        "levels/minigames/balls/MiniGameConfiguration.xml",
        "Unable to find configuration for the minigame: "
        "levels/minigames/dance/MiniGameConfiguration.xml",
        "Unable to find configuration for the minigame: "
        "levels/minigames/roul/MiniGameConfiguration.xml",
    };
    const std::string before = harness->game.logText();
    for (const char* line : lines)
        EXPECT_EQ(countOf(before, line), 0u) << line;
    const CRefPointer<IVirtualFileSystem> empty(new CVirtualFileSystem);
    const CRefPointer<CContentManager> content(new CContentManager(
        {}, empty,
        CRefPointer<CContentProcessorsManager>(new CContentProcessorsManager(
            {{}, {}, empty, CEngineServices::instance()->getNodeFactoryReference()}))));
    for (int32_t built = 0; built < 2; ++built) {
        CRefPointer<GGameLevelScene>(
            new GGameLevelScene(CContentKey(content.get(), u"Level.qscn"), nullptr, nullptr));
    }
    const std::string after = harness->game.logText();
    for (const char* line : lines)
        EXPECT_EQ(countOf(after, line), 2u) << line;
    EXPECT_EQ(GMiniGameConfigurations::shared().ballCount(), 0u) << "the defaults from now on";
    load(1);
    EXPECT_EQ(GMiniGameConfigurations::shared().ballCount(), 2u) << "the tests' own file";
}

} // namespace
