#include "game/app/GameApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/Utf.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileManager.h"
#include "engine/platform/DriverFactories.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/video/IRenderDriver.h"
#include "tests/game/app/GameHarness.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string readContent(CEngine& engine, const char16_t* name) {
    CRefPointer<IInputFile> file = engine.getFileSystem()->openInputFile(name);
    if (!file)
        return "<missing>";
    std::string text(size_t(file->getLength()), '\0');
    text.resize(size_t(file->readBytes(text.data(), int32_t(text.size()))));
    return text;
}

class GameApplicationStartupTest : public ::testing::Test {
protected:
    GameHarness game;
};

TEST_F(GameApplicationStartupTest, OpensTheLogosSceneInTheFirstSceneManager) {
    ASSERT_TRUE(game.start());
    GGameApplication& application = game.application();
    EXPECT_EQ(theApplication, &application);
    ASSERT_NE(application.getSceneManager(), nullptr);
    SceneNode* scene = application.getSceneManager()->getCurrentScene();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->getName().toString(), CString("LogosScene"));
    ASSERT_NE(application.getLevelSceneManager(), nullptr);
    EXPECT_EQ(application.getLevelSceneManager()->getPosition().z, -4000.0f);
    EXPECT_EQ(game.host.window(game.window())->title, CStringW(u"Velmora"));
    EXPECT_EQ(game.engine().getMinUpdateInterval(), 20u);
    EXPECT_EQ(game.engine().getMaxUpdateStep(), 1000u);
    EXPECT_NE(game.logText().find("Vantor Game Engine version"), std::string::npos)
        << "the log lies in the XDG data folder";
}

// The extra folder (relative to the base, or absolute as it stands) hides "assets", which
// hides the archive.
TEST_F(GameApplicationStartupTest, ContentSourcesOverrideInOrder) {
    const std::string fromArchive =
        readFile(std::filesystem::path(VANTOR_SOURCE_DIR) / "content/assets/logos/Logos.xml");
    ASSERT_FALSE(fromArchive.empty());
    const std::filesystem::path absolute = game.contentBase().parent_path() / "elsewhere";
    struct Case {
        const char* assets;
        const char* extra;
        std::filesystem::path extraFolder;
        CStringW argument;
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, {}, CStringW(), fromArchive},
        {"from assets", nullptr, {}, CStringW(), "from assets"},
        {"from assets", "from extra", game.contentBase() / "mods", CStringW(u"mods"), "from extra"},
        {"from assets", "from absolute", absolute, utf8ToUtf16(absolute.string().c_str()),
         "from absolute"},
        {nullptr, nullptr, {}, CStringW(u"no such folder"), fromArchive},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(game.contentBase() / "assets");
        if (c.assets)
            writeFile(game.contentBase() / "assets/logos/Logos.xml", c.assets);
        if (c.extra)
            writeFile(c.extraFolder / "logos/Logos.xml", c.extra);
        game.start(c.argument);
        EXPECT_EQ(readContent(game.engine(), u"logos/Logos.xml"), c.expected);
    }
}

// Each failed start says why before the program gives up.
TEST_F(GameApplicationStartupTest, MissingLogosSceneEndsTheStart) {
    writeFile(game.contentBase() / "extra/scenes/LogosScene.qscn", "not a scene");
    EXPECT_FALSE(game.start(u"extra"));
    EXPECT_NE(
        game.logProblems().find("ERR: Could not open the first scene scenes/LogosScene.qscn\n"),
        std::string::npos)
        << game.logProblems();
    std::filesystem::remove(game.contentBase() / "assets.qca");
    EXPECT_FALSE(game.start());
    EXPECT_EQ(game.logProblems(), "ERR: No game content: neither the folder \"assets\" nor the "
                                  "archive \"assets.qca\" is in the working folder " +
                                      game.contentBase().string() + "\n");
}

TEST_F(GameApplicationStartupTest, SoundGroupsAsConfigured) {
    ASSERT_TRUE(game.start());
    CSoundPlayer& player = *game.engine().getSoundPlayer();
    struct Group {
        int32_t id;
        int32_t policy;
        int32_t fadeOut;
        int32_t fadeIn;
        int32_t maximum;
    };
    const Group groups[] = {
        {0, 1, 1000, 0, 4}, {1, 1, 1000, 2000, 1}, {2, 1, 1000, 0, 7}, {3, 0, 1000, 0, 4}};
    for (const Group& group : groups) {
        const SoundGroupSettings& settings = player.getGroupSettings(group.id);
        EXPECT_EQ(settings.overflowPolicy, group.policy) << "group " << group.id;
        EXPECT_EQ(settings.fadeOutMs, group.fadeOut) << "group " << group.id;
        EXPECT_EQ(settings.fadeInMs, group.fadeIn) << "group " << group.id;
        EXPECT_EQ(settings.maxPlaying, group.maximum) << "group " << group.id;
    }
    ASSERT_NE(game.engine().getAudioDriver(), nullptr);
    EXPECT_EQ(game.engine().getAudioDriver()->getStreamingThreshold(), 0x40000u);
    EXPECT_NE(game.engine().getAudioDriver()->getName(), CString("Null audio device"));
}

void registerWithoutOpenAL() {
    GameHarness::registerGame();
    openALDriverFactory() = nullptr;
}

TEST_F(GameApplicationStartupTest, AudioFallsBackToSilenceWhenOpenALCannotOpen) {
    game.settings.registerLibraries = &registerWithoutOpenAL;
    EXPECT_TRUE(game.start());
    ASSERT_NE(game.engine().getAudioDriver(), nullptr);
    EXPECT_EQ(game.engine().getAudioDriver()->getName(), CString("Null audio device"));
    EXPECT_EQ(game.engine().getAudioDriver()->getStreamingThreshold(), 0x40000u);
    EXPECT_NE(game.logText().find("Could not create OpenAL Audio Driver."), std::string::npos);
}

// The common profile names the driver; a value outside 1 to 3 starts Direct3D 9 and stays
// in the profile, and a driver that cannot be made ends the start without trying another.
TEST_F(GameApplicationStartupTest, VideoDriverComesFromTheCommonProfile) {
    struct Case {
        int32_t stored;
        bool started;
        uint32_t driverType;
    };
    const Case cases[] = {{2, true, 2}, {0, true, 2}, {4, true, 2}, {-1, true, 2}, {3, false, 3}};
    for (const Case& c : cases) {
        game.start();
        CProfileParameters& common = *game.profiles().getCommonProfile();
        common.setInt("VideoDriver", c.stored);
        common.notifyChanged();
        EXPECT_EQ(game.start(), c.started) << c.stored;
        EXPECT_EQ(game.engine().getCreationParameters().driverType, c.driverType) << c.stored;
        EXPECT_EQ(game.engine().getVideoDriver() != nullptr, c.started) << c.stored;
        EXPECT_EQ(game.profiles().getCommonProfile()->getInt("VideoDriver"), c.stored);
    }
}

// Random bytes gave the first-start screen, and the first save overwrote the file for good.
TEST_F(GameApplicationStartupTest, ADamagedProfileIsKeptBesideAndTheFirstSaveWritesANewOne) {
    const std::filesystem::path folder = game.dataHome() / "QuorvaneTessmark" / "Velmora";
    const std::string damaged = "\x9c\x01<Profiles><Profile Name=\"Ann\"> \xfe\x17";
    writeFile(folder / "profile.dat", damaged);
    ASSERT_TRUE(game.start());
    EXPECT_EQ(readFile(folder / "profile.dat.damaged"), damaged);
    const std::string expected =
        "WRN: Profile file " + (folder / "profile.dat").string() + " is damaged: kept as " +
        (folder / "profile.dat.damaged").string() + "; the next save writes a new one\n";
    EXPECT_EQ(game.logProblems(), expected);

    game.player().setFloat("SoundVolume", 20);
    ASSERT_TRUE(game.player().notifyChanged());
    ASSERT_TRUE(game.start());
    EXPECT_EQ(game.profiles().getActiveProfile()->getFloat("SoundVolume"), 20.0f);
    EXPECT_EQ(readFile(folder / "profile.dat.damaged"), damaged);
    EXPECT_EQ(game.logProblems(), "");
}

// With the data folder not writable (here a file stands where it should be) there is no log
// file: the lines, and the failed saves of the player's changes, go to standard error.
TEST_F(GameApplicationStartupTest, AnUnwritableDataFolderSpeaksOnStandardError) {
    std::filesystem::remove_all(game.dataHome());
    writeFile(game.dataHome(), "a file where the folder should be");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(game.start());
    game.player().setFloat("SoundVolume", 20);
    EXPECT_FALSE(game.player().notifyChanged());
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("WRN: Could not open the log file " + game.dataHome().string()),
              std::string::npos)
        << error;
    EXPECT_NE(error.find("INF: Vantor Game Engine version"), std::string::npos) << error;
    EXPECT_NE(error.find("ERR: Could not save profiles to"), std::string::npos) << error;

    std::filesystem::remove(game.dataHome());
    ASSERT_TRUE(game.start()) << "the next tests' log opens again";
}

// Full screen at the desktop's size until a player says otherwise; the logical screen is then
// fitted between bars.
TEST_F(GameApplicationStartupTest, FullScreenFromThePlayerOrTheDefault) {
    ASSERT_TRUE(game.start());
    EXPECT_TRUE(game.engine().getCreationParameters().fullScreen);
    const CPixelSize size = game.engine().getVideoDriver()->getBackBufferSize();
    EXPECT_EQ(size.width, 1920u);
    EXPECT_EQ(size.height, 1080u);
    SceneManager& manager = *game.application().getSceneManager();
    EXPECT_EQ(manager.getPosition().x, 240.0f);
    EXPECT_FLOAT_EQ(manager.getScale().x, 1.40625f);
    const CVector3d corner = game.application().screenToScene(CVector3d(240, 0, 0));
    EXPECT_TRUE(corner.equals(CVector3d(0, 0, 0), 1e-4f));

    game.player().setBool("FullScreen", false);
    game.player().notifyChanged();
    ASSERT_TRUE(game.start());
    EXPECT_FALSE(game.engine().getCreationParameters().fullScreen);
    EXPECT_EQ(game.engine().getVideoDriver()->getBackBufferSize().width, 1024u);
    EXPECT_EQ(game.application().getSceneManager()->getPosition().x, 0.0f);
}

// The start as a returning player sees it, on the content set: every file, key and cue the
// logos, the intro's steps and the main menu look for is there, so the log has nothing to
// complain about.
TEST_F(GameApplicationStartupTest, RunsFromTheLogosThroughTheIntroToTheMainMenu) {
    ASSERT_TRUE(game.start());
    game.player();
    ASSERT_TRUE(game.profiles().saveUserProfiles());
    ASSERT_TRUE(game.start());
    std::vector<std::string> scenes;
    for (int ms = 0; ms < 30000 && (scenes.empty() || scenes.back() != "MainMenuScene"); ms += 20) {
        game.advance(20);
        const std::string name =
            game.application().getSceneManager()->getCurrentScene()->getName().toString().c_str();
        if (scenes.empty() || scenes.back() != name)
            scenes.push_back(name);
    }
    EXPECT_EQ(scenes, (std::vector<std::string>{"LogosScene", "IntroScene", "MainMenuScene"}));
    game.advance(1000);
    EXPECT_EQ(game.logProblems(), "");
}

} // namespace
