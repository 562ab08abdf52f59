#include <gtest/gtest.h>

#include "engine/io/ProfileManager.h"
#include "engine/platform/InputEvents.h"
#include "game/app/GameEvents.h"
#include "game/app/LevelConfig.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/screens/GamePlaySceneFixture.h"
#include "tests/game/screens/gl/HalfSizePicture.h"

// The in-level screen as a player sees it, drawn by the OpenGL driver on SDL's offscreen
// windows on Mesa and compared with its golden picture.
namespace {

class GamePlayScenePictureTest : public GamePlaySceneTest {
protected:
    // On SDL, for a player who plays in a window of the game's size.
    void writeContent() override {
        gameOnSdl() = &harness.game;
        harness.game.settings.registerLibraries = &registerGameOnSdl;
        harness.renderSound = false;
        ASSERT_TRUE(harness.game.start());
        harness.game.player().setBool("FullScreen", false);
        harness.game.player().setBool("ShowTutorialOn", false);
        harness.game.profiles().saveUserProfiles();
    }
    void TearDown() override {
        screen = nullptr;
        harness.stop();
        gameOnSdl() = nullptr;
    }
};

// Level 1 restarted, a quarter into its day: the HUD with its money and clock, a served client's
// money rising over the floor with its coins on their way, and the goal reached.
TEST_F(GamePlayScenePictureTest, InLevelScreenAtAFixedMomentOfPlay) {
    load().reset(false);
    GLevelConfig& config = *level->getLevelConfig();
    config.targetMoney = 100;
    show();
    harness.advance(20);
    level->addMoney(150, 5, CVector3d(), CStringW());
    harness.advance(120);
    level->addMoney(42, 0, CVector3d(520, 420, 0), u"Thanks!");
    harness.advance(10);
    const CRefPointer<CSoftwareImage> picture = drawFrameWithOpenGl(harness.game);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*picture, "screens-in-level", 4));
}

// Escape a few seconds into level 1: the pause menu over the level standing still.
TEST_F(GamePlayScenePictureTest, InGameMenuOverTheLevel) {
    load().reset(false);
    show();
    harness.advance(150);
    const CRefPointer<CEvent> escape(new CEventInputKeyUp(0, 27, false, false));
    screen->OnEvent(*escape);
    harness.advance(60);
    ASSERT_EQ(manager().getCurrentScene()->getName(), CNameId(CString("InGameMenuScene")));
    const CRefPointer<CSoftwareImage> picture = drawFrameWithOpenGl(harness.game);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(matchesGolden(*halfSizeOf(*picture), "screens-in-game-menu", 4));
}

} // namespace
