#include <gtest/gtest.h>

#include <string>

#include "engine/core/DeviceFactory.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "engine/platform/host/SdlPlatform.h"
#include "engine/ui/UiRegistration.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/host/GLDirect3D9.h"
#include "game/app/AwardTracker.h"
#include "game/app/ObjectConfigurations.h"
#include "game/level/ClientNode.h"
#include "game/screens/AwardUnlockedScene.h"
#include "game/screens/GameNewClientScene.h"
#include "game/screens/LoadingLevelScene.h"
#include "support/GoldenImage.h"
#include "tests/game/app/GameOnSdl.h"
#include "tests/game/screens/ScreenFixture.h"
#include "tests/game/screens/gl/HalfSizePicture.h"

// The screens as a player sees them: the game in the test process on SDL's offscreen windows
// on Mesa, drawn by its drivers, compared with golden pictures.
namespace {

// Two players, "Anna" (Easy, the current one) and "Bruno" (Hard), playing in a window.
class ScreenPictureTest : public ScreenTest {
protected:
    void SetUp() override {
        gameOnSdl() = &game;
        game.settings.registerLibraries = &registerGameOnSdl;
        ASSERT_TRUE(game.start());
        addPlayer(u"Anna", 1).setBool("FullScreen", false);
        addPlayer(u"Bruno", 0);
        game.profiles().setActiveProfile(0);
        game.profiles().saveUserProfiles();
        ASSERT_TRUE(game.start());
    }
    void TearDown() override {
        game.stop();
        gameOnSdl() = nullptr;
    }

    // Waits for the intro to open the menu and for the heroine to say hello.
    void reachMainMenu() {
        for (int ms = 0; ms < 20000 && currentName() != "MainMenuScene"; ms += 100)
            game.advance(100);
        ASSERT_EQ(currentName(), "MainMenuScene");
        game.advance(1500);
    }

    void useDriver(uint32_t type) {
        CreationParameters parameters = game.engine().getCreationParameters();
        parameters.driverType = type;
        game.engine().setParameters(parameters);
        game.advance(100);
        ASSERT_NE(game.engine().getVideoDriver(), nullptr);
        ASSERT_EQ(game.engine().getCreationParameters().driverType, type);
    }

    // One frame as the application draws it, not yet shown.
    IRenderDriver& renderFrame() {
        IRenderDriver& driver = *game.engine().getVideoDriver();
        driver.startFrame(true, true, CColor(0), nullptr, nullptr);
        manager().renderScenes(&driver);
        driver.getQuadBatcher()->flush();
        return driver;
    }

    // The frame read back before it is shown.
    CRefPointer<CSoftwareImage> drawFrame() {
        IRenderDriver& driver = renderFrame();
        CRefPointer<CSoftwareImage> picture = driver.captureScreen();
        driver.presentFrame();
        return picture;
    }

    // The picture Direct3D presented, read back from the screen, beside the golden of the
    // OpenGL driver.
    ::testing::AssertionResult presentedLooksLike(const char* golden, const std::string& name) {
        IRenderDriver& driver = renderFrame();
        driver.presentFrame();
        const CRefPointer<CSoftwareImage> picture = driver.captureScreen();
        if (!picture)
            return ::testing::AssertionFailure() << "nothing captured";
        return matchesGoldenOf(*picture, golden, name, 4, 0);
    }

    ::testing::AssertionResult looksLike(const char* golden) {
        const CRefPointer<CSoftwareImage> picture = drawFrame();
        if (!picture)
            return ::testing::AssertionFailure() << "nothing captured";
        return matchesGolden(*picture, golden, 4);
    }

    // The frame at half its size, which keeps the golden small.
    ::testing::AssertionResult halfLooksLike(const char* golden) {
        const CRefPointer<CSoftwareImage> picture = drawFrame();
        if (!picture)
            return ::testing::AssertionFailure() << "nothing captured";
        return matchesGolden(*halfSizeOf(*picture), golden, 4);
    }

    // Opened over the current scene, once its transitions and its first looks have played.
    SceneNode* openOver(const char16_t* file, bool keepVisible = true) {
        SceneNode* scene =
            current()->openSceneFile(file, keepVisible, name("NavFrom"), name("NavTo"));
        game.advance(1500);
        return scene;
    }
    void backTo(const SceneNode* scene) {
        current()->navigateBack(0, CNameId(), CNameId());
        settle();
        ASSERT_EQ(current(), scene);
    }
};

// Started on Direct3D 9, the game goes on drawing through OpenGL once the driver is changed,
// every texture made again on the new driver.
TEST_F(ScreenPictureTest, MainMenuPlayerSelectionNewPlayerAndOptions) {
    ASSERT_EQ(game.engine().getCreationParameters().driverType, 2u);
    reachMainMenu();
    // The menu Direct3D 9 shows is the OpenGL driver's picture: its clock stands while both
    // are taken, so that its effects show one moment.
    game.advance(100);
    current()->getClock()->setEnabled(false);
    EXPECT_TRUE(presentedLooksLike("screens-main-menu", "screens-main-menu-d3d9"));
    useDriver(3);
    EXPECT_TRUE(looksLike("screens-main-menu"));
    current()->getClock()->setEnabled(true);

    current()->openSceneFile(u"scenes/SelectPlayerScene.qscn", true, CNameId(), CNameId());
    settle();
    EXPECT_TRUE(looksLike("screens-select-player"));
    current()->openSceneFile(u"scenes/SelectPlayerInputNameScene.qscn", true, CNameId(), CNameId());
    settle();
    EXPECT_TRUE(looksLike("screens-new-player"));
    current()->navigateBack(1, CNameId(), CNameId());
    settle();
    ASSERT_EQ(currentName(), "MainMenuScene");

    current()->openSceneFile(u"scenes/OptionsScene.qscn", true, CNameId(), CNameId());
    settle();
    EXPECT_TRUE(looksLike("screens-options"));
}

} // namespace

namespace {

// The pages of the main menu and the pop-up and comic that the game opens elsewhere, drawn by
// the OpenGL driver.
TEST_F(ScreenPictureTest, AwardsNewAwardComicAndCredits) {
    reachMainMenu();
    useDriver(3);
    // An empty screen in place of the menu, whose own look is the menu's golden.
    const CRefPointer<SceneNode> empty = plainScene();
    current()->openScene(empty.get(), false, CNameId(), CNameId());
    settle();
    // Some awards seen before, one just earned, the hint beside the fourth.
    theApplication->getAwardTracker()->loadViewState(u"2;0;0;2;0;0;0;0;0;2;0;0;1");
    openOver(u"scenes/AwardsScene.qscn");
    // The pointer rests on it; this window layer takes no scripted mouse.
    asControlNode(find("Scene/AchievementsNode/Achievement_4"))->setHovered(true);
    game.advance(400);
    EXPECT_TRUE(halfLooksLike("screens-awards"));
    backTo(empty.get());

    const CRefPointer<CContent> loaded =
        content().load(contentType("snod"), u"scenes/NewAwardScene.qscn", true);
    auto* popUp = static_cast<GAwardUnlockedScene*>(static_cast<BaseNode*>(loaded.get()));
    popUp->setAward(13);
    current()->openScene(popUp, true, name("NavFrom"), name("NavTo"));
    game.advance(600);
    EXPECT_TRUE(halfLooksLike("screens-new-award"));
    backTo(empty.get());

    openOver(u"scenes/CreditsScene.qscn");
    EXPECT_TRUE(halfLooksLike("screens-credits"));
    backTo(empty.get());

    // The first part in, its first box gone and the second shown.
    openOver(u"scenes/ComicsScene1.qscn", false);
    EXPECT_TRUE(halfLooksLike("screens-comic"));
}

} // namespace

namespace {

// Before a level: the loading screen, then the pop-ups that the in-level screen opens over
// itself, drawn by the OpenGL driver.
TEST_F(ScreenPictureTest, LevelLoadingBriefingAndNewClient) {
    reachMainMenu();
    useDriver(3);
    const CRefPointer<SceneNode> empty = plainScene();
    current()->openScene(empty.get(), false, CNameId(), CNameId());
    settle();
    // Anna's first level at its third step, the setting's templates loaded.
    game.player().setInt("LevelIndex", 1);
    SceneNode* loading = current()->openSceneFile(u"scenes/LoadingLevelScene.qscn", false,
                                                  name("NavFrom"), name("NavTo"));
    ASSERT_TRUE(loading != nullptr && loading->isKindOf(GLoadingLevelScene::kTypeId));
    auto* screen = static_cast<GLoadingLevelScene*>(loading);
    takeOffClock(*screen);
    for (int step = 0; step < 3; ++step)
        screen->OnUpdate(GLoadingLevelScene::kStepGapMs + 1);
    game.advance(100);
    EXPECT_TRUE(halfLooksLike("screens-loading-level"));
    backTo(empty.get());

    openOver(u"scenes/BriefingScene.qscn");
    EXPECT_TRUE(halfLooksLike("screens-briefing"));
    backTo(empty.get());

    auto* popUp = static_cast<GGameNewClientScene*>(openOver(u"scenes/GameNewClientScene.qscn"));
    popUp->setClient(theApplication->getObjectConfigurations()->getClientConfig(name("Dancer")));
    ASSERT_NE(popUp->getPreview(), nullptr);
    static_cast<GClientNode*>(popUp->getPreview())->setColor(2);
    game.advance(600);
    EXPECT_TRUE(halfLooksLike("screens-new-client"));
}

} // namespace
