#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/StubDevice.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/platform/EngineStartup.h"
#include "game/app/GameApplication.h"
#include "io/ScopedEnvironment.h"
#include "io/TempFolder.h"
#include "support/FakeHostWindowSystem.h"
#include "tests/support/d3d/FakeD3D9Runtime.h"

class CEngine;
class CProfileManager;

// The game's log file below that data folder, in UTF-8 with a line feed after each line;
// empty when there is none.
std::string readGameLog(const std::filesystem::path& dataHome);

// The game inside the test process, started as the program starts it, on the scripted window
// layer with the scripted Direct3D 9 runtime (the default driver), on a clock that moves only
// with advance(). The random generator is seeded from that clock, so a run replays exactly.
// The user and common data folders, the single-instance guard's folder and the content base
// (holding a link to the built assets.qca) lie in a temporary folder, so nothing outside is
// read or written; OpenAL-soft mixes on a loopback device that nothing renders.
class GameHarness {
public:
    GameHarness();
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    // The start-up and the application's initialisation; its answer. The application stays
    // until stop(), also when it answered false.
    bool start(const CStringW& extraContentFolder = CStringW());
    // Releases the application and then the engine, as the program ends.
    void stop();

    // Runs the main loop for that many milliseconds of game time, one frame every 20 ms.
    void advance(uint32_t milliseconds);
    // Delivers the messages queued on the window layer.
    void runMessages();
    // Queues a key's press and release, with the character it gives (0 for none).
    void typeKey(uint32_t virtualKey, char16_t character);
    void pressKey(uint32_t virtualKey, char16_t character);

    // The game's libraries with the device on the harness's window layer and clock: the
    // start-up's registration, which a test may extend with a function of its own.
    static void registerGame();

    GGameApplication& application() const { return *m_application; }
    FakeD3D9Runtime& direct3D() { return *m_direct3D; }
    CEngine& engine() const;
    CProfileManager& profiles() const;
    // The active profile, made (as "Tester") when there is none.
    CProfileParameters& player();
    HostWindow window() const;

    // Where the application looks for "assets" and "assets.qca".
    const std::filesystem::path& contentBase() const { return m_contentBase; }
    const std::filesystem::path& dataHome() const { return m_dataHome; }
    // The game's log file, in UTF-8 with a line feed after each line.
    std::string logText() const;
    // Its warning and error lines.
    std::string logProblems() const;

    // Change before start(): the start-up's guard is off unless named here.
    EngineStartupSettings settings;
    FakeHostWindowSystem host;
    FakeClock clock;

private:
    void postKey(uint32_t message, uint32_t virtualKey, char16_t character);

    TempFolder m_folder;
    std::filesystem::path m_contentBase;
    std::filesystem::path m_dataHome;
    ScopedEnvironment m_dataEnvironment;
    ScopedEnvironment m_stateEnvironment;
    ScopedEnvironment m_runtimeEnvironment;
    std::optional<CEngineStartup> m_startup;
    std::optional<FakeD3D9Runtime> m_direct3D;
    CRefPointer<GGameApplication> m_application;
};
