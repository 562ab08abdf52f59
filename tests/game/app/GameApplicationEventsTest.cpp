#include "game/app/GameApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/io/ProfileManager.h"
#include "engine/video/IRenderDriver.h"
#include "tests/game/app/GameHarness.h"

namespace {

class GameApplicationEventsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.start()); }

    // Each character's key pressed and released; '^' stands for a key that gives none
    // (Shift).
    void type(const std::string& keys) {
        for (char key : keys) {
            if (key == '^') {
                game.typeKey(VK_SHIFT, 0);
                continue;
            }
            const char upper = key >= 'a' && key <= 'z' ? char(key - 'a' + 'A') : key;
            game.typeKey(uint32_t(upper), char16_t(key));
        }
        game.runMessages();
    }

    void typeWithControlAndShift(uint32_t virtualKey) {
        game.host.setKeyDown(VK_CONTROL, true);
        game.host.setKeyDown(VK_SHIFT, true);
        game.typeKey(virtualKey, 0);
        game.runMessages();
        game.host.setKeyDown(VK_CONTROL, false);
        game.host.setKeyDown(VK_SHIFT, false);
    }

    void activate(bool active) {
        HostMessage message;
        message.window = game.window();
        message.message = WM_ACTIVATE;
        message.wParam = active ? WA_ACTIVE : WA_INACTIVE;
        game.host.postMessage(message);
        game.runMessages();
    }

    GameHarness game;
};

TEST_F(GameApplicationEventsTest, CodeWordSwitchesTheDeveloperModeOn) {
    struct Case {
        const char* keys;
        bool on;
    };
    const Case cases[] = {
        {"quillbox", true}, {"QUILLBOX", true},   {"myquillbox", true},
        {"quillbo", false}, {"quil^lbox", false}, {"quillbpx", false},
    };
    for (const Case& c : cases) {
        developerMode = false;
        type("^^^^^^^^");
        type(c.keys);
        EXPECT_EQ(developerMode, c.on) << c.keys;
    }
}

TEST_F(GameApplicationEventsTest, DeveloperKeysNeedTheDeveloperMode) {
    type("d");
    EXPECT_EQ(game.engine().getCreationParameters().driverType, 2u);
    type("quillbox");
    ASSERT_TRUE(developerMode);

    // Direct3D 9, OpenGL (which the scripted window layer cannot give), Direct3D 8, and round
    // to Direct3D 9 again.
    const uint32_t cycle[] = {3, 1, 2};
    for (uint32_t driverType : cycle) {
        type("d");
        EXPECT_EQ(game.engine().getCreationParameters().driverType, driverType);
    }
    ASSERT_NE(game.engine().getVideoDriver(), nullptr);

    type("f");
    EXPECT_FALSE(game.engine().getCreationParameters().fullScreen);
    EXPECT_EQ(game.engine().getVideoDriver()->getBackBufferSize().width, 1024u);
    type("f");
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
    EXPECT_EQ(game.engine().getVideoDriver()->getBackBufferSize().width, 1920u);
    EXPECT_EQ(game.profiles().getCommonProfile()->getInt("VideoDriver"), 2) << "not stored";
}

TEST_F(GameApplicationEventsTest, ScreenshotsTakeTheFirstFreeNumber) {
    const std::filesystem::path folder = game.dataHome() / "QuorvaneTessmark" / "Velmora";
    type("quillbox");
    type("f");
    type("s");
    EXPECT_FALSE(std::filesystem::exists(folder / "screenshot0.jpg")) << "needs Control and Shift";
    typeWithControlAndShift('S');
    typeWithControlAndShift('S');
    EXPECT_TRUE(std::filesystem::exists(folder / "screenshot0.jpg"));
    EXPECT_TRUE(std::filesystem::exists(folder / "screenshot1.jpg"));
    EXPECT_FALSE(std::filesystem::exists(folder / "screenshot2.jpg"));
}

TEST_F(GameApplicationEventsTest, SoundPackReloadsWithControlShiftM) {
    CSoundPlayer& sound = *game.engine().getSoundPlayer();
    const CNameId music(CString("MenuMusic"));
    type("quillbox");
    EXPECT_FALSE(sound.playCue(music));
    typeWithControlAndShift('M');
    EXPECT_TRUE(sound.playCue(music));
}

// In the background the game's clock stands still and nothing is heard.
TEST_F(GameApplicationEventsTest, WindowFocusStopsTheClockAndTheSound) {
    CSoundPlayer& sound = *game.engine().getSoundPlayer();
    activate(false);
    EXPECT_TRUE(game.engine().getTimer()->isStopped());
    EXPECT_EQ(sound.getGroupVolume(-1), 0.0f);
    const uint32_t time = game.engine().getTimer()->getTime();
    game.clock.advanceMs(5000);
    EXPECT_EQ(game.engine().getTimer()->getTime(), time);

    activate(true);
    EXPECT_FALSE(game.engine().getTimer()->isStopped());
    EXPECT_EQ(sound.getGroupVolume(-1), 1.0f);
    EXPECT_TRUE(sound.getGroupSettings(3).paused) << "outside the map screen";
}

TEST_F(GameApplicationEventsTest, EveryFrameIsDrawnAndPresented) {
    FakeD3D9Runtime& direct3D = game.direct3D();
    const size_t before = direct3D.count("Present(");
    game.advance(200);
    EXPECT_EQ(direct3D.count("Present(") - before, 10u);
    EXPECT_EQ(direct3D.count("BeginScene"), direct3D.count("EndScene"));
}

} // namespace
