#include "game/app/GameApplication.h"

#include <gtest/gtest.h>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileManager.h"
#include "tests/game/app/GameHarness.h"

namespace {

class GameApplicationSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.start()); }

    CSoundPlayer& sound() const { return *game.engine().getSoundPlayer(); }

    void setPlayer(bool soundOn, float soundVolume, bool musicOn, float musicVolume) {
        CProfileParameters& player = game.player();
        player.setBool("SoundOn", soundOn);
        player.setFloat("SoundVolume", soundVolume);
        player.setBool("MusicOn", musicOn);
        player.setFloat("MusicVolume", musicVolume);
    }

    void loadSoundPack() {
        const CRefPointer<CContent> pack = game.application().getContentManager()->load(
            SoundPack::kContentType, u"sounds/SoundPack.xml", true);
        ASSERT_TRUE(pack);
        static_cast<SoundPack*>(pack.get())->addCuesTo(sound());
    }

    GameHarness game;
};

TEST_F(GameApplicationSettingsTest, SoundSettingsSetTheGroupVolumes) {
    struct Case {
        bool soundOn;
        float soundVolume;
        bool musicOn;
        float musicVolume;
        float sound;
        float music;
    };
    const Case cases[] = {
        {true, 20, true, 70, 0.2f, 0.7f},
        {false, 20, true, 70, 0.0f, 0.7f},
        {true, 100, false, 70, 1.0f, 0.0f},
        {false, 40, false, 0, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        setPlayer(c.soundOn, c.soundVolume, c.musicOn, c.musicVolume);
        game.application().applySoundSettings();
        for (int32_t group : {0, 2, 3})
            EXPECT_FLOAT_EQ(sound().getGroupVolume(group), c.sound) << "group " << group;
        EXPECT_FLOAT_EQ(sound().getGroupVolume(1), c.music);
    }
}

TEST_F(GameApplicationSettingsTest, MenuMusicPlaysOnceAndStopsAtOnceWhenSwitchedOff) {
    loadSoundPack();
    const CNameId music(CString("MenuMusic"));
    setPlayer(true, 50, true, 50);
    game.application().applySoundSettings();
    game.application().applySoundSettings();
    ASSERT_EQ(sound().getPlayingInstances().size(), 1u) << "played exclusively";
    const CRefPointer<SoundCue> playing = sound().getPlayingInstances()[0];
    EXPECT_EQ(playing->getName(), music);
    EXPECT_EQ(playing->getState(), 2) << "playing";

    setPlayer(true, 50, false, 50);
    game.application().applySoundSettings();
    EXPECT_EQ(playing->getState(), 0) << "stopped without a fade-out";
}

TEST_F(GameApplicationSettingsTest, NothingAppliesWithoutAPlayer) {
    sound().setGroupVolume(0.3f, 0);
    game.application().applySoundSettings();
    game.application().applyDisplaySettings();
    game.application().duckMusic(false);
    game.advance(200);
    EXPECT_FLOAT_EQ(sound().getGroupVolume(0), 0.3f);
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
}

TEST_F(GameApplicationSettingsTest, DisplaySettingsSwitchFullScreenAndCursor) {
    const HostWindow window = game.window();
    game.player().setBool("FullScreen", false);
    game.player().setBool("WindowsCursor", false);
    game.application().applyDisplaySettings();
    EXPECT_FALSE(game.engine().getCreationParameters().fullScreen);
    EXPECT_EQ(game.engine().getCreationParameters().width, 1024u);
    EXPECT_NE(game.host.findCall("createCursor 32x32 hot 3,2"), -1);
    EXPECT_NE(game.host.window(window)->cursor, kSystemArrowCursor);

    game.player().setBool("FullScreen", true);
    game.player().setBool("WindowsCursor", true);
    game.application().applyDisplaySettings();
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
    EXPECT_EQ(game.host.window(window)->cursor, kSystemArrowCursor);
}

TEST_F(GameApplicationSettingsTest, SmallDesktopKeepsFullScreen) {
    game.host.desktopMode = {1024, 768, 32, 60};
    ASSERT_TRUE(game.start());
    game.player().setBool("FullScreen", false);
    game.application().applyDisplaySettings();
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
}

// The music moves 50 volume points a second towards 30 points under the sound's volume (not
// below 0), and back; a request that reverses a fade turns it where it stands.
TEST_F(GameApplicationSettingsTest, DuckingLowersTheMusicAndBringsItBack) {
    setPlayer(true, 20, true, 50);
    game.application().applySoundSettings();
    game.application().duckMusic(false);
    game.advance(500);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.25f, 1e-4f);
    game.advance(600);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.0f, 1e-4f);
    game.application().duckMusic(true);
    game.advance(400);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.2f, 1e-4f);
    game.application().duckMusic(false);
    game.advance(200);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.1f, 1e-4f) << "turned while rising";
    game.application().duckMusic(true);
    game.advance(2000);
    EXPECT_NEAR(sound().getGroupVolume(1), 0.5f, 1e-4f);
}

TEST_F(GameApplicationSettingsTest, DuckingLeavesMusicThatWouldNotBeLowered) {
    struct Case {
        bool soundOn;
        float soundVolume;
        bool musicOn;
        float musicVolume;
    };
    // Lowered level above the music, sound too quiet, sound off, music off.
    const Case cases[] = {
        {true, 100, true, 50}, {true, 9, true, 50}, {false, 50, true, 50}, {true, 50, false, 50}};
    for (const Case& c : cases) {
        setPlayer(c.soundOn, c.soundVolume, c.musicOn, c.musicVolume);
        game.application().applySoundSettings();
        const float before = sound().getGroupVolume(1);
        game.application().duckMusic(false);
        game.advance(500);
        EXPECT_FLOAT_EQ(sound().getGroupVolume(1), before) << c.soundVolume << " " << c.musicOn;
    }
}

} // namespace
