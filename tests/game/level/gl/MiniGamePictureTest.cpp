#include <gtest/gtest.h>

#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/ProfileParameters.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "game/level/MiniGameDanceScene.h"
#include "game/level/MiniGameRoulScene.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/level/FixtureDanceAndRoulette.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/level/gl/LevelOnSdl.h"

// The dance track and the roulette wheel of the tests' scene files as a player would see them
// over level 1: the game in the test process on SDL's offscreen windows on Mesa, drawn as the
// screens are drawn, compared with their golden pictures.
namespace {

using fixture_minigames::configuration;

class MiniGamePictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        level.write("minigames/Dance.qscn", fixture_minigames::danceScene());
        level.write("minigames/Roul.qscn", fixture_minigames::roulScene());
        level.write("levels/minigames/dance/MiniGameConfiguration.xml",
                    configuration({{{"speed", 250},
                                    {"BlockWidths", 100},
                                    {"BlockWidths", 50},
                                    {"BlockWidths", 100},
                                    {"BlockWidths", 30},
                                    {"BlockWidths", 60}}}));
        level.write("levels/minigames/roul/MiniGameConfiguration.xml",
                    configuration({{{"angle1", 20}, {"angle2", 70}, {"speed", 10}}}));
        ASSERT_TRUE(startLevelOnSdl(level));
        played = level.loadLevel(1);
        ASSERT_NE(played, nullptr);
        played->setClientGenerationPaused(true);
    }
    void TearDown() override {
        level.stop();
        gameOnSdl() = nullptr;
    }

    // Opened over the level in place of it, arrived, then started on a known draw.
    template <typename Game>
    Game* open(const char16_t* file, GClientNode* client) {
        SceneNode* scene = played->openSceneFile(file, false, CNameId(), CNameId());
        EXPECT_NE(scene, nullptr);
        if (scene == nullptr)
            return nullptr;
        level.advance(2);
        CEngineServices::instance()->getRandom()->seed(7);
        auto* game = static_cast<Game*>(scene);
        game->start({0, client});
        return game;
    }

    CRefPointer<CSoftwareImage> drawFrame() { return drawLevelFrame(level, 1); }

    LevelHarness level;
    GGameLevelScene* played = nullptr;
};

TEST_F(MiniGamePictureTest, DanceTrackPassingTheMarkerBeforeTheDancer) {
    // The first of the level's queued dancers, in green.
    GClientNode* client = played->getSpawnRecords()[0].createdClients[0].get();
    client->setColor(3);
    ASSERT_NE(open<GMiniGameDanceScene>(u"minigames/Dance.qscn", client), nullptr);
    // 300 units of the track have come in; the first block nears the marker.
    level.advance(60);
    const CRefPointer<CSoftwareImage> picture = drawFrame();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "minigame-dance", 4));
}

TEST_F(MiniGamePictureTest, RouletteStoppedWithItsVerdict) {
    GMiniGameRoulScene* game = open<GMiniGameRoulScene>(u"minigames/Roul.qscn", nullptr);
    ASSERT_NE(game, nullptr);
    level.advance(10);
    // This window layer takes no scripted mouse: the press goes to the game as the scene
    // manager hands it on.
    const CRefPointer<CEventInputMouseLeftDown> press(new CEventInputMouseLeftDown(512, 330));
    game->sendToChildren(CEventReceiver::RouteSelfThenChildren, *press);
    const CRefPointer<CSoftwareImage> picture = drawFrame();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "minigame-roulette", 4));
}

} // namespace
