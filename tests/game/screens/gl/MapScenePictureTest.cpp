#include <gtest/gtest.h>

#include "engine/io/ProfileManager.h"
#include "game/screens/MapScene.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/screens/ScreenFixture.h"
#include "tests/game/screens/gl/HalfSizePicture.h"

// The map as a player sees it: the game in the test process on SDL's offscreen windows on
// Mesa, drawn by the OpenGL driver at half size, compared with golden pictures. The game's
// clock seeds its random numbers, so the traffic is the same at every run.
namespace {

class MapScenePictureTest : public ScreenTest {
protected:
    // "Anna" plays in a window, without the tutorials, with the menu's content loaded by the
    // intro.
    void SetUp() override {
        gameOnSdl() = &game;
        game.settings.registerLibraries = &registerGameOnSdl;
        ASSERT_TRUE(game.start());
        CProfileParameters& anna = addPlayer(u"Anna", 1);
        anna.setBool("FullScreen", false);
        anna.setBool("ShowTutorialOn", false);
        game.profiles().setActiveProfile(0);
        game.profiles().saveUserProfiles();
        ASSERT_TRUE(game.start());
        for (int ms = 0; ms < 20000 && currentName() != "MainMenuScene"; ms += 100)
            game.advance(100);
        ASSERT_EQ(currentName(), "MainMenuScene");
        useOpenGl(game);
    }
    void TearDown() override {
        game.stop();
        gameOnSdl() = nullptr;
    }

    GMapScene& openMap() {
        current()->openSceneFile(u"scenes/MapScene.qscn", false, name("NavFrom"), name("NavTo"));
        game.advance(1000);
        EXPECT_EQ(currentName(), "MapScene");
        return *static_cast<GMapScene*>(current());
    }

    ::testing::AssertionResult halfLooksLike(const char* golden) {
        const CRefPointer<CSoftwareImage> picture = captureFrame(game);
        if (!picture)
            return ::testing::AssertionFailure() << "nothing captured";
        return matchesGolden(*halfSizeOf(*picture), golden, 4);
    }
};

TEST_F(MapScenePictureTest, TheMapOfANewPlayer) {
    openMap();
    EXPECT_TRUE(halfLooksLike("screens-map-new-player"));
}

// Level 1 passed as a master: its gold star, level 1.2 current, the goals of level 1.1 over its
// button, and the traffic ten seconds after the map came into view.
TEST_F(MapScenePictureTest, TheMapAfterLevelOneWithTheGoalsOfALevel) {
    CProfileParameters& anna = game.player();
    anna.setInt("LastCompletedLevelIndex", 1);
    anna.setInt("MaxUnlockedLevelIndex", 2);
    anna.setInt("LevelIndex", 2);
    anna.setString("Level1Stats", "400;60000;20");
    GMapScene& map = openMap();
    game.advance(9000);
    EXPECT_TRUE(halfLooksLike("screens-map-after-level-1"));

    // As the pointer resting on the button opens it; SDL's window takes no scripted mouse.
    map.showLevelInfo(0, 0);
    game.advance(1000);
    ASSERT_TRUE(map.getInfoWindow()->isVisible());
    EXPECT_TRUE(halfLooksLike("screens-map-goals"));
}

} // namespace
