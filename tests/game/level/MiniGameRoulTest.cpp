#include "game/level/MiniGameRoulScene.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/core/Utf.h"
#include "game/level/MiniGameConfigurations.h"
#include "tests/app/ConfigFixtures.h"
#include "tests/game/level/FixtureDanceAndRoulette.h"

// The roulette over the fixture clients' level. The configuration's first record is the green
// sector from 20 to 40 degrees at speed 10; records added after it are the tests' own.
namespace {

using fixture_minigames::configuration;
using fixture_minigames::MiniGameTest;

class MiniGameRoulTest : public MiniGameTest {
protected:
    static void SetUpTestSuite() {
        MiniGameTest::SetUpTestSuite();
        harness->write("minigames/Roul.qscn", fixture_minigames::roulScene());
        harness->write("levels/minigames/roul/MiniGameConfiguration.xml",
                       configuration({{{"angle1", 20}, {"angle2", 40}, {"speed", 10}}}));
    }

    // Opened over the level and arrived; started on the engine's generator seeded so, when a
    // seed is given, which makes the wheel's orientation and the pointer's angle known.
    // Held here, so that it can be looked at once closed.
    static CRefPointer<GMiniGameRoulScene> openRoul(int32_t configuration,
                                                    const uint32_t* seed = nullptr) {
        SceneNode* scene =
            level().openSceneFile(u"minigames/Roul.qscn", false, CNameId(), CNameId());
        EXPECT_TRUE(scene != nullptr && scene->getTypeName() == CStringW(u"GMiniGameRoulScene"));
        if (scene == nullptr || scene->getTypeName() != CStringW(u"GMiniGameRoulScene"))
            return nullptr;
        harness->advance(2);
        auto* game = static_cast<GMiniGameRoulScene*>(scene);
        if (seed != nullptr)
            CEngineServices::instance()->getRandom()->seed(*seed);
        game->start({configuration, nullptr});
        return CRefPointer<GMiniGameRoulScene>::share(game);
    }
    // A record of the roulette's table after the file's.
    static int32_t addRecord(int32_t angle1, int32_t angle2, int32_t speed) {
        GMiniGameConfigurations& tables = GMiniGameConfigurations::shared();
        tables.readRoul(*config_fixtures::readerOver(
            configuration({{{"angle1", angle1}, {"angle2", angle2}, {"speed", speed}}})));
        return int32_t(tables.roulCount()) - 1;
    }
    static std::string infoText(const GMiniGameRoulScene& game) {
        const auto* text = static_cast<const TextNode*>(nodeIn(&game, "InfoText"));
        return utf16ToUtf8(text->getText().c_str()).c_str();
    }
};

TEST_F(MiniGameRoulTest, TheSectorsSplitOneTurnAtTheAnglesAndTheWheelTurnsToItsOrientation) {
    CRefPointer<GMiniGameRoulScene> game = openRoul(0);
    ASSERT_TRUE(game);
    struct Sector {
        const char* name;
        float from;
        float to;
        uint32_t tint;
    };
    const Sector sectors[] = {
        {"c1", 0, 20, 0xFF0000FFu},
        {"c2", 20, 40, 0xFF00FF00u},
        {"c3", 40, 360, 0xFFFF0000u},
    };
    for (const Sector& s : sectors) {
        const auto* sector = static_cast<const GSectorSpriteNode*>(nodeIn(game.get(), s.name));
        EXPECT_EQ(sector->getAngle1(), s.from) << s.name;
        EXPECT_EQ(sector->getAngle2(), s.to) << s.name;
        EXPECT_EQ(sector->getTintColor().value, s.tint) << s.name;
    }
    const int32_t base = game->getBaseAngle();
    EXPECT_EQ(nodeIn(game.get(), "sectorNode")->getRotation().z, float(base));
    EXPECT_EQ(game->getWinFrom(), base + 20);
    EXPECT_EQ(game->getWinTo(), base + 40) << "a green arc of 20 degrees";
    EXPECT_GE(game->getAngle(), uint32_t(base));
    EXPECT_LT(game->getAngle(), uint32_t(base + 360));
}

TEST_F(MiniGameRoulTest, ThePointerTurnsSixDegreesATickAtSpeedTenAndWrapsToTheOrientation) {
    CRefPointer<GMiniGameRoulScene> game = openRoul(0);
    ASSERT_TRUE(game);
    const uint32_t base = uint32_t(game->getBaseAngle());
    uint32_t wraps = 0;
    for (int frame = 0; frame < 70; ++frame) {
        const uint32_t before = game->getAngle();
        harness->advance(1);
        const uint32_t expected = before + 6 > base + 360 ? base : before + 6;
        ASSERT_EQ(game->getAngle(), expected) << frame;
        wraps += expected == base ? 1 : 0;
        EXPECT_EQ(nodeIn(game.get(), "Fg")->getRotation().z, float(expected + 225));
    }
    EXPECT_GE(wraps, 1u);
}

TEST_F(MiniGameRoulTest, StoppingStrictlyInsideTheGreenWinsOnItsBordersLosesAndClosesSoon) {
    // The pointer stands still at speed 0; the seed shows where.
    const uint32_t seed = 2024;
    const int32_t still = addRecord(20, 40, 0);
    CRefPointer<GMiniGameRoulScene> probe = openRoul(still, &seed);
    ASSERT_TRUE(probe);
    const int32_t at = int32_t(probe->getAngle()) - probe->getBaseAngle();

    struct Case {
        const char* where;
        int32_t from;
        int32_t to;
        int32_t result;
        const char* text;
    };
    const Case cases[] = {
        {"on the start border", at, at + 20, 0, "YOU LOSER!"},
        {"on the end border", at - 20, at, 0, "YOU LOSER!"},
        {"just inside", at - 1, at + 19, 1, "YOU WIN!"},
        {"outside", at + 1, at + 21, 0, "YOU LOSER!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        load(1);
        harness->advance(1);
        CRefPointer<GMiniGameRoulScene> game = openRoul(addRecord(c.from, c.to, 0), &seed);
        ASSERT_TRUE(game);
        ASSERT_EQ(int32_t(game->getAngle()) - game->getBaseAngle(), at);
        harness->click(*nodeIn(game.get(), "InfoText"));
        harness->advance(1);
        EXPECT_FALSE(game->isSpinning());
        EXPECT_EQ(game->getResult(), c.result);
        EXPECT_EQ(infoText(*game), c.text);
        int32_t frames = 1;
        for (; frames < 40 && !game->isClosed(); ++frames)
            harness->advance(1);
        EXPECT_NEAR(frames * 20, 520, 20) << "about half a second after the click";
    }
}

} // namespace
