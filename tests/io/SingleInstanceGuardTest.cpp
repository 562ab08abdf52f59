#include "engine/io/SingleInstanceGuard.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// Not the game's own name: even a test that reached the real runtime folder could not meet a
// running game.
const char* const GuardName = "Velmora Guard Test";

class SingleInstanceGuardTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "guard-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    CString folder() const { return CString(m_folder.c_str()); }

    // Starts a second instance in a child process; its exit code is 1 when it saw the first.
    int startSecondInstance() {
        return runChild([this] {
            CSingleInstanceGuard guard(GuardName, folder());
            return guard.isAnotherInstanceRunning() ? 1 : 0;
        });
    }

    static int runChild(const std::function<int()>& body) {
        const pid_t child = fork();
        if (child == 0)
            _exit(body());
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string m_folder;
};

int windowStandIn = 0;

} // namespace

TEST_F(SingleInstanceGuardTest, SecondProcessSeesTheFirstAndAsksItToRaise) {
    CSingleInstanceGuard first(GuardName, folder());
    ASSERT_FALSE(first.isAnotherInstanceRunning());
    first.setMainWindow(&windowStandIn);
    EXPECT_FALSE(first.takeRaiseRequest());

    EXPECT_EQ(startSecondInstance(), 1);
    EXPECT_EQ(startSecondInstance(), 1);
    EXPECT_TRUE(first.takeRaiseRequest());
    EXPECT_FALSE(first.takeRaiseRequest()) << "both requests are answered by one raise";
}

TEST_F(SingleInstanceGuardTest, RequestBeforeTheWindowExistsRaisesNothing) {
    CSingleInstanceGuard first(GuardName, folder());
    EXPECT_EQ(startSecondInstance(), 1);
    EXPECT_FALSE(first.takeRaiseRequest());
    EXPECT_EQ(startSecondInstance(), 1);
    first.setMainWindow(&windowStandIn);
    EXPECT_FALSE(first.takeRaiseRequest());
}

// The main loop waits for window messages while its window is minimised; a later start has to
// wake it. In this process: the lock is held per open file, so a second guard here is a later
// start, and no fork meets the guard's thread.
TEST_F(SingleInstanceGuardTest, ARequestWakesTheWaitingLoopOnceUntilItIsTaken) {
    std::atomic<int> wakes{0};
    const auto waitForWakes = [&wakes](int count) {
        for (int ms = 0; ms < 5000 && wakes.load() < count; ms += 5)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return wakes.load();
    };
    const auto laterStart = [this] {
        return CSingleInstanceGuard(GuardName, folder()).isAnotherInstanceRunning();
    };
    CSingleInstanceGuard first(GuardName, folder());
    first.setMainWindow(&windowStandIn);
    ASSERT_TRUE(
        first.wakeOnRequest([](void* count) { ++*static_cast<std::atomic<int>*>(count); }, &wakes));
    ASSERT_TRUE(laterStart());
    EXPECT_EQ(waitForWakes(1), 1);
    ASSERT_TRUE(laterStart());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(wakes.load(), 1) << "one wake until the loop takes the requests";
    EXPECT_TRUE(first.takeRaiseRequest());

    ASSERT_TRUE(laterStart());
    EXPECT_EQ(waitForWakes(2), 2);
    EXPECT_TRUE(first.takeRaiseRequest());
    first.wakeOnRequest(nullptr, nullptr);
    ASSERT_TRUE(laterStart());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(wakes.load(), 2) << "stopped";
    EXPECT_TRUE(first.takeRaiseRequest());
}

TEST_F(SingleInstanceGuardTest, NextStartGetsTheGuardAfterTheFirstIsKilled) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        CSingleInstanceGuard guard(GuardName, folder());
        const char held = guard.isAnotherInstanceRunning() ? 'n' : 'y';
        if (write(ready[1], &held, 1) != 1)
            _exit(2);
        for (;;)
            pause();
    }
    close(ready[1]);
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    EXPECT_EQ(held, 'y');
    EXPECT_TRUE(CSingleInstanceGuard(GuardName, folder()).isAnotherInstanceRunning());

    kill(holder, SIGKILL);
    int status = 0;
    waitpid(holder, &status, 0);

    CSingleInstanceGuard next(GuardName, folder());
    EXPECT_FALSE(next.isAnotherInstanceRunning());
    next.setMainWindow(&windowStandIn);
    EXPECT_EQ(startSecondInstance(), 1);
    EXPECT_TRUE(next.takeRaiseRequest()) << "the dead holder's socket file is replaced";
}

TEST_F(SingleInstanceGuardTest, ReleasedGuardLetsTheNextStartRun) {
    CSingleInstanceGuard first(GuardName, folder());
    EXPECT_EQ(startSecondInstance(), 1);
    first.release();
    EXPECT_EQ(startSecondInstance(), 0);
}

TEST_F(SingleInstanceGuardTest, GuardThatCannotLockLetsTheProgramRun) {
    std::ofstream(m_folder + "/plain-file") << "x";
    const std::string folders[] = {m_folder + "/missing/folder", m_folder + "/plain-file"};
    for (const std::string& unusable : folders) {
        CSingleInstanceGuard guard(GuardName, CString(unusable.c_str()));
        EXPECT_FALSE(guard.isAnotherInstanceRunning()) << unusable;
        guard.setMainWindow(&windowStandIn);
        EXPECT_FALSE(guard.takeRaiseRequest()) << unusable;
    }
}

TEST_F(SingleInstanceGuardTest, FolderTooLongForASocketStillKeepsOneInstance) {
    const std::string deep = m_folder + "/" + std::string(120, 'd');
    std::filesystem::create_directory(deep);
    CSingleInstanceGuard first(GuardName, CString(deep.c_str()));
    EXPECT_FALSE(first.isAnotherInstanceRunning());
    EXPECT_EQ(runChild([&] {
                  CSingleInstanceGuard second(GuardName, CString(deep.c_str()));
                  return second.isAnotherInstanceRunning() ? 1 : 0;
              }),
              1);
}

TEST_F(SingleInstanceGuardTest, DefaultFolderIsTheRuntimeFolderElseTheTemporaryOne) {
    const std::string runtime = m_folder + "/runtime";
    const std::string temporary = m_folder + "/temporary";
    std::filesystem::create_directory(runtime);
    std::filesystem::create_directory(temporary);
    struct Case {
        const char* runtimeFolder;
        std::string expectedFolder;
    };
    const Case cases[] = {{runtime.c_str(), runtime}, {nullptr, temporary}, {"", temporary}};
    const std::string lockName = std::string(GuardName) + "." + std::to_string(getuid()) + ".lock";
    for (const Case& c : cases) {
        EXPECT_EQ(runChild([&] {
                      if (c.runtimeFolder)
                          setenv("XDG_RUNTIME_DIR", c.runtimeFolder, 1);
                      else
                          unsetenv("XDG_RUNTIME_DIR");
                      setenv("TMPDIR", temporary.c_str(), 1);
                      CSingleInstanceGuard guard(GuardName);
                      return std::filesystem::exists(c.expectedFolder + "/" + lockName) ? 0 : 1;
                  }),
                  0)
            << c.expectedFolder;
    }
}
