#include "engine/platform/EngineStartup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "engine/core/DeviceFactory.h"
#include "engine/core/EngineServiceFactories.h"
#include "engine/core/EngineServices.h"
#include "engine/core/EngineSubsystemFactories.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/CrashHandler.h"
#include "engine/platform/EngineDeviceFactory.h"
#include "io/TempFolder.h"
#include "platform/DeviceFixture.h"

namespace {

FakeHostWindowSystem* g_host = nullptr;

// Stands for a program's highest library: the platform's registrations, with the device on the
// test's fake window system, which has no GL: a null driver stands in for OpenGL.
void registerFakePlatform() {
    registerPlatformLibrary();
    deviceFactory() = [](const CreationParameters& parameters) {
        return createEngineDevice(parameters, *g_host);
    };
    openGLDriverFactory() = &TestOpenGLDriver::create;
}

void registerNothing() {}

// Exit status of a child process running body, or -1 when it did not exit.
template <typename Body>
int runChild(Body body) {
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class EngineStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_host = &host;
        openGLDriverFactory() = &TestOpenGLDriver::create;
        CEngineServices::destroyInstance();
    }
    void TearDown() override {
        g_host = nullptr;
        deviceFactory() = nullptr;
        engineSubsystemFactories() = EngineSubsystemFactories();
        engineServiceFactories() = EngineServiceFactories();
        contentProcessorFactories() = ContentProcessorFactories();
        openGLDriverFactory() = nullptr;
        CEngineServices::destroyInstance();
    }

    EngineStartupSettings settings() const {
        EngineStartupSettings settings;
        settings.registerLibraries = &registerFakePlatform;
        settings.instanceName = "Velmora Startup Test";
        settings.instanceFolder = CString(folder.path().c_str());
        settings.installCrashHandler = false;
        return settings;
    }

    FakeHostWindowSystem host;
    TempFolder folder;
};

TEST_F(EngineStartupTest, LaterStartMakesNoEngineAndRaisesTheRunningWindow) {
    CEngineStartup startup(settings());
    ASSERT_FALSE(startup.isAnotherInstanceRunning());
    CEngine* engine = startup.startEngine();
    ASSERT_NE(engine, nullptr);
    CreationParameters windowed;
    windowed.driverType = 3;
    ASSERT_TRUE(engine->setParameters(windowed));
    const HostWindow window = engine->getCreationParameters().windowHandle;
    host.showWindow(window, SW_MINIMIZE);
    startup.setMainWindow();
    host.clearCalls();

    EXPECT_TRUE(startup.runOnce());
    EXPECT_EQ(host.countCalls(("activateWindow " + std::to_string(window)).c_str()), 0u)
        << "nobody asked";

    const int later = runChild([this] {
        CEngineStartup second(settings());
        return second.isAnotherInstanceRunning() && second.startEngine() == nullptr ? 1 : 0;
    });
    EXPECT_EQ(later, 1);
    EXPECT_TRUE(startup.runOnce());
    const int activated = host.findCall(("activateWindow " + std::to_string(window)).c_str());
    EXPECT_GE(activated, 0);
    EXPECT_GT(
        host.findCall(("showWindow " + std::to_string(window) + " 9").c_str(), uint32_t(activated)),
        activated)
        << "restored after it was brought forward";
    int32_t showCommand = SW_HIDE;
    EXPECT_TRUE(host.getShowCommand(window, showCommand));
    EXPECT_EQ(showCommand, SW_SHOWNORMAL);
}

// While minimised the loop waits for window messages: a later start's request has to end that
// wait, or the window stays down until some message comes.
TEST_F(EngineStartupTest, LaterStartWakesTheLoopWaitingWhileMinimisedAndRestoresTheWindow) {
    CEngineStartup startup(settings());
    CEngine* engine = startup.startEngine();
    ASSERT_NE(engine, nullptr);
    CreationParameters windowed;
    windowed.driverType = 3;
    ASSERT_TRUE(engine->setParameters(windowed));
    const HostWindow window = engine->getCreationParameters().windowHandle;
    host.showWindow(window, SW_MINIMIZE);
    HostMessage minimised;
    minimised.window = window;
    minimised.message = WM_SIZE;
    minimised.wParam = SIZE_MINIMIZED;
    host.sendMessage(minimised);
    startup.setMainWindow();
    host.clearCalls();
    EXPECT_TRUE(startup.runOnce());
    EXPECT_EQ(host.findCall("getMessage"), 0) << "minimised, the loop waits";

    EXPECT_EQ(runChild([this] { return CEngineStartup(settings()).isAnotherInstanceRunning(); }),
              1);
    for (int ms = 0; ms < 5000 && host.wakeCount() == 0; ms += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(host.wakeCount(), 1u) << "the window layer's wait was woken";
    host.clearCalls();
    EXPECT_TRUE(startup.runOnce());
    const std::string id = std::to_string(window);
    EXPECT_GE(host.findCall(("activateWindow " + id).c_str()), 0);
    EXPECT_GE(host.findCall(("showWindow " + id + " 9").c_str()), 0);
    int32_t showCommand = SW_HIDE;
    EXPECT_TRUE(host.getShowCommand(window, showCommand));
    EXPECT_EQ(showCommand, SW_SHOWNORMAL);
}

TEST_F(EngineStartupTest, StartInstallsTheCrashHandler) {
    const std::string reports = (folder.path() / "reports").string();
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        setCrashReportFolder(CString(reports.c_str()));
        EngineStartupSettings crashing;
        crashing.registerLibraries = &registerNothing;
        CEngineStartup startup(crashing);
        std::raise(SIGSEGV);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV);
    EXPECT_TRUE(std::filesystem::exists(reports) && !std::filesystem::is_empty(reports));
}

} // namespace
