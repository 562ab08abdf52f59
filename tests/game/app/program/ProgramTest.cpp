#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/Utf.h"
#include "engine/io/ProfileManager.h"
#include "engine/io/VirtualFileSystem.h"
#include "io/TempFolder.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/app/program/ProgramProcess.h"
// Last: Xlib's macros would rename words in the headers above.
#include "tests/game/app/program/XvfbServer.h"

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

constexpr std::chrono::seconds kTimeout{120};

// Closes the program's window as a player would, until the program has ended; its exit
// status, or -1 when it did not end within the timeout. The window is asked again and again
// as the device may replace the first window it made with one that its driver can draw into.
int closeWindowUntilExit(XvfbServer& server, ProgramProcess& program) {
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < end) {
        if (const Window window = server.findWindow("Velmora"))
            server.closeWindow(window);
        if (const std::optional<int> status = program.pollExit(std::chrono::milliseconds(500)))
            return *status;
    }
    return program.waitForExit(std::chrono::milliseconds(0));
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A working folder holding the built content archive, and data and runtime folders of the
// test's own, so that neither the player's profiles nor a running game are touched.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        for (const char* name : {"work", "data", "state", "runtime"})
            std::filesystem::create_directories(folder.path() / name);
        std::filesystem::create_symlink(VELMORA_CONTENT_ARCHIVE,
                                        folder.path() / "work" / "assets.qca");
    }

    std::filesystem::path work() const { return folder.path() / "work"; }
    std::filesystem::path data() const { return folder.path() / "data"; }

    Environment environment() const {
        return {{"XDG_DATA_HOME", data().string()},
                {"XDG_STATE_HOME", (folder.path() / "state").string()},
                {"XDG_RUNTIME_DIR", (folder.path() / "runtime").string()}};
    }

    // The common profile's "VideoDriver", written as the game writes its profiles.
    void storeVideoDriver(int32_t value) const {
        const std::filesystem::path userData = data() / "QuorvaneTessmark" / "Velmora";
        std::filesystem::create_directories(userData);
        CRefPointer<CVirtualFileSystem> files(new CVirtualFileSystem());
        files->setUserDataFolder(utf8ToUtf16(userData.string().c_str()));
        CRefPointer<CProfileManager> profiles(new CProfileManager(files));
        profiles->getCommonProfile()->setInt("VideoDriver", value);
        ASSERT_TRUE(profiles->saveUserProfiles());
    }

    TempFolder folder;
};

// Exit status 0 comes only out of the main loop, which runs only once the logos scene is
// open; closing the window is the way out of it.
TEST_F(ProgramTest, OpensTheLogosSceneWithTheStoredDriverAndEndsWhenTheWindowCloses) {
    XvfbServer server;
    ASSERT_TRUE(server.isRunning());
    struct Case {
        int32_t stored;
        const char* driverLine;
    };
    // Nothing stored, Direct3D 8, Direct3D 9, OpenGL, a value outside 1 to 3.
    const Case cases[] = {{-2, "Direct3D 9 on OpenGL"},
                          {1, "Direct3D 8 on OpenGL"},
                          {2, "Direct3D 9 on OpenGL"},
                          {3, "Using renderer: OpenGL"},
                          {9, "Direct3D 9 on OpenGL"}};
    for (const Case& c : cases) {
        std::filesystem::remove_all(data() / "QuorvaneTessmark");
        if (c.stored != -2)
            storeVideoDriver(c.stored);
        Environment variables = environment();
        variables.push_back({"DISPLAY", server.display()});
        variables.push_back({"SDL_VIDEODRIVER", "x11"});
        ProgramProcess program(work(), variables);
        EXPECT_EQ(closeWindowUntilExit(server, program), 0) << c.stored;
        const std::string log = readGameLog(data());
        EXPECT_TRUE(contains(log, c.driverLine)) << c.stored << "\n" << log;
        EXPECT_FALSE(contains(log, "Failed to initialize game")) << log;
    }
}

TEST_F(ProgramTest, WithoutTheLogosSceneTheStartFailsWithOne) {
    std::filesystem::remove(work() / "assets.qca");
    Environment variables = environment();
    variables.push_back({"SDL_VIDEODRIVER", "offscreen"});
    ProgramProcess program(work(), variables);
    EXPECT_EQ(program.waitForExit(kTimeout), 1);
    const std::string log = readGameLog(data());
    const std::string reason = "ERR: No game content: neither the folder \"assets\" nor the "
                               "archive \"assets.qca\" is in the working folder " +
                               std::filesystem::canonical(work()).string() +
                               "\nERR: Failed to initialize game\n";
    EXPECT_TRUE(contains(log, reason.c_str())) << log;
}

// SDL would fall back to a driver that draws nowhere: the game would run unseen, hold the
// single-instance lock and send every later start away with 0.
TEST_F(ProgramTest, WithoutADisplayTheStartIsRefusedWithOne) {
    for (int start = 0; start < 2; ++start) {
        ProgramProcess program(work(), environment(), {},
                               {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
        EXPECT_EQ(program.waitForExit(kTimeout), 1) << start;
        const std::string log = readGameLog(data());
        EXPECT_TRUE(contains(log, "ERR: No display found")) << log;
        EXPECT_TRUE(contains(log, "ERR: Failed to initialize game")) << log;
        EXPECT_TRUE(contains(readFile(work() / "stdout.txt"), "No display found"))
            << "printed, not only logged";
    }
}

TEST_F(ProgramTest, SecondStartRaisesTheRunningWindowAndEndsWithZero) {
    GameHarness game;
    game.settings.instanceName = "Velmora Game Instance";
    ASSERT_TRUE(game.start());
    const std::string log = game.logText();
    game.advance(20);
    game.host.clearCalls();

    // The harness's folders are the process's, so the program finds the harness's guard.
    ProgramProcess second(work(), {{"SDL_VIDEODRIVER", "offscreen"}});
    EXPECT_EQ(second.waitForExit(kTimeout), 0);
    EXPECT_EQ(game.logText(), log) << "the second start writes no log";
    game.advance(20);
    const std::string activated = "activateWindow " + std::to_string(game.window());
    EXPECT_GE(game.host.findCall(activated.c_str()), 0);
}

} // namespace
