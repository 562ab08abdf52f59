#include <gtest/gtest.h>

#include "engine/core/DeviceFactory.h"
#include "engine/core/Engine.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/scene/SceneManager.h"
#include "engine/ui/UiRegistration.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "game/level/ClientNode.h"
#include "game/level/HeroNode.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/level/FixtureLevels.h"
#include "tests/game/level/LevelHarness.h"
#include "tests/game/level/gl/LevelOnSdl.h"

// Level 1 as a player sees it when the day starts and a few seconds into it: the game in the
// test process on SDL's offscreen windows on Mesa, drawn as the screens are drawn, compared with
// its golden pictures.
namespace {

using fixture_levels::named;

class LevelPictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startLevelOnSdl(level)); }
    void TearDown() override {
        level.stop();
        gameOnSdl() = nullptr;
    }

    CRefPointer<CSoftwareImage> drawFrame() { return drawLevelFrame(level, 5); }

    LevelHarness level;
};

TEST_F(LevelPictureTest, LevelOneLaidOut) {
    GGameLevelScene* played = level.loadLevel(1);
    ASSERT_NE(played, nullptr);
    // The day waits while the pads' colours blink in.
    played->setClientGenerationPaused(true);
    level.advance(30);
    const CRefPointer<CSoftwareImage> picture = drawFrame();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "level-one", 4));
}

// The player takes each of the first two clients to the pad of its colour as it comes and
// calls the hero to the first when it waits at the check-out: drawn while the second dances and
// the hero walks over.
TEST_F(LevelPictureTest, LevelOneMidRun) {
    GGameLevelScene* played = level.loadLevel(1);
    ASSERT_NE(played, nullptr);
    level.setDragViaClick(true);
    level.inputHost = &sdlHostWindowSystem();
    GHeroNode* hero = played->getHero();
    ASSERT_NE(hero, nullptr);
    struct Move {
        const char* client;
        const char* pad;
        bool done;
    };
    Move moves[] = {{"1", "DancePad1", false}, {"2", "DancePad2", false}};
    bool called = false;
    level.player = [&](uint32_t) {
        for (Move& move : moves) {
            GClientNode* client = played->findClient(named(move.client));
            if (move.done || client == nullptr ||
                client->getClientState() != GClientNode::kStateWaiting)
                continue;
            level.click(*client);
            level.click(*level.node(move.pad));
            move.done = true;
        }
        GClientNode* first = played->findClient(named("1"));
        if (!called && first != nullptr &&
            first->getClientState() == GClientNode::kStateAtCheckOut) {
            level.click(*first);
            called = true;
        }
    };
    uint32_t walking = 0;
    for (uint32_t tick = 0; tick < 1000 && walking < 10; ++tick) {
        level.advance(1);
        walking += hero->isWalking() ? 1 : 0;
    }
    level.player = nullptr;
    ASSERT_EQ(walking, 10u) << "the hero was called";
    GClientNode* dancer = played->findClient(named("2"));
    ASSERT_NE(dancer, nullptr);
    EXPECT_EQ(dancer->getClientState(), GClientNode::kStateSelfServing);
    const CRefPointer<CSoftwareImage> picture = drawFrame();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "level-one-mid-run", 4));
}

} // namespace
