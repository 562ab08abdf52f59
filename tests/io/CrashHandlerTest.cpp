#include "engine/io/CrashHandler.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "engine/io/Thread.h"

namespace {

// Mapped without access before the children are forked, so the report's address is known.
void* const protectedPage = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);

void writeToProtectedPage() {
    *static_cast<volatile int*>(protectedPage) = 1;
}

std::string protectedPageAddress() {
    std::ostringstream text;
    text << "Address: 0x" << std::hex << reinterpret_cast<uintptr_t>(protectedPage) << "\n";
    return text.str();
}

// Never reached; keeps the compiler from seeing an endless recursion.
volatile int neverReachedDepth = -1;

int overflowStack(int depth) {
    if (depth == neverReachedDepth)
        return 0;
    volatile char frame[1024];
    frame[0] = char(depth);
    return overflowStack(depth + 1) + frame[0];
}

// Threads the engine starts report their overflows too.
void overflowOnAThread() {
    CRefPointer<CThread> thread(new CThread([](void*) { return overflowStack(0); }, nullptr));
    thread->start();
    thread->join();
}

void throwProfileError() {
    throw std::runtime_error("profile table broken");
}

// The test framework would catch the exception; a noexcept caller sends it to terminate.
void callWithoutCatching(void (*function)()) noexcept {
    function();
}

void throwPastNoexcept() {
    callWithoutCatching(throwProfileError);
}

struct Crash {
    const char* name;
    void (*trigger)();
    int signal;
    std::string reportText;
};

// Real faults where the sanitizers let them through (a null store or a division by zero would
// be stopped by UBSan first); raise for the signals that cannot be provoked portably.
const Crash crashes[] = {
    {"segv", writeToProtectedPage, SIGSEGV, "Signal: 11 (SIGSEGV)\n" + protectedPageAddress()},
    {"stack overflow", [] { overflowStack(0); }, SIGSEGV, "(SIGSEGV)"},
    {"stack overflow on a thread", overflowOnAThread, SIGSEGV, "(SIGSEGV)"},
    {"abort", [] { std::abort(); }, SIGABRT, "Signal: 6 (SIGABRT)\nBack trace:"},
    {"uncaught exception", throwPastNoexcept, SIGABRT,
     "(SIGABRT)\nUncaught exception: profile table broken\n"},
    {"fpe", [] { raise(SIGFPE); }, SIGFPE, "(SIGFPE)"},
    {"ill", [] { raise(SIGILL); }, SIGILL, "(SIGILL)"},
    {"bus", [] { raise(SIGBUS); }, SIGBUS, "(SIGBUS)"},
};

class CrashHandlerTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "crash-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    struct Outcome {
        int status = 0;
        std::string errorOutput;
    };

    // Runs the crash in a child process with its standard error caught. AddressSanitizer lets a
    // program's own sigaction replace its SIGSEGV, SIGBUS and SIGFPE handlers (its default
    // allow_user_segv_handler=1), so installCrashHandler takes over in the child as it does in
    // the game, and no ASAN_OPTIONS are needed.
    static Outcome crashInChild(const std::function<void()>& prepare, void (*trigger)()) {
        int errorPipe[2];
        if (pipe(errorPipe) != 0)
            return {};
        const pid_t child = fork();
        if (child == 0) {
            dup2(errorPipe[1], STDERR_FILENO);
            close(errorPipe[0]);
            const rlimit noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            prepare();
            installCrashHandler();
            trigger();
            _exit(0);
        }
        close(errorPipe[1]);
        Outcome outcome;
        char buffer[4096];
        ssize_t count;
        while ((count = read(errorPipe[0], buffer, sizeof(buffer))) > 0)
            outcome.errorOutput.append(buffer, size_t(count));
        close(errorPipe[0]);
        waitpid(child, &outcome.status, 0);
        return outcome;
    }

    std::vector<std::filesystem::path> reports(const std::string& folder) const {
        std::vector<std::filesystem::path> found;
        if (std::filesystem::exists(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                found.push_back(entry.path());
        }
        return found;
    }

    static std::string contents(const std::filesystem::path& path) {
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::string m_folder;
};

} // namespace

TEST_F(CrashHandlerTest, FaultingChildWritesItsReportAndDiesByItsSignal) {
    for (const Crash& crash : crashes) {
        const std::string folder = m_folder + "/" + crash.name + "/made/on/demand";
        const Outcome outcome = crashInChild(
            [&] { ASSERT_TRUE(setCrashReportFolder(CString(folder.c_str()))); }, crash.trigger);

        ASSERT_TRUE(WIFSIGNALED(outcome.status)) << crash.name << ": " << outcome.errorOutput;
        EXPECT_EQ(WTERMSIG(outcome.status), crash.signal) << crash.name;
        const auto found = reports(folder);
        ASSERT_EQ(found.size(), 1u) << crash.name << ": " << outcome.errorOutput;
        const std::string report = contents(found[0]);
        EXPECT_NE(report.find(crash.reportText), std::string::npos) << crash.name << report;
        EXPECT_NE(report.find("Back trace:\n"), std::string::npos) << crash.name;
        EXPECT_NE(report.find(program_invocation_short_name), std::string::npos)
            << crash.name << ": the back trace names the program\n"
            << report;
        EXPECT_NE(outcome.errorOutput.find("Crash report written to " + found[0].string()),
                  std::string::npos)
            << crash.name << ": " << outcome.errorOutput;
    }
}

TEST_F(CrashHandlerTest, DefaultFolderLiesBelowTheUserDataFolder) {
    const std::string dataHome = m_folder + "/data";
    const Outcome outcome =
        crashInChild([&] { setenv("XDG_DATA_HOME", dataHome.c_str(), 1); }, [] { abort(); });
    EXPECT_TRUE(WIFSIGNALED(outcome.status) && WTERMSIG(outcome.status) == SIGABRT);
    EXPECT_EQ(reports(dataHome + "/QuorvaneTessmark/Velmora").size(), 1u) << outcome.errorOutput;
}

TEST_F(CrashHandlerTest, UnwritableFolderPutsTheReportOnStandardError) {
    std::ofstream(m_folder + "/plain-file") << "x";
    const std::string folder = m_folder + "/plain-file/reports";
    const Outcome outcome =
        crashInChild([&] { setCrashReportFolder(CString(folder.c_str())); }, [] { raise(SIGFPE); });
    EXPECT_TRUE(WIFSIGNALED(outcome.status) && WTERMSIG(outcome.status) == SIGFPE);
    EXPECT_NE(outcome.errorOutput.find("Could not write the crash report to " + folder),
              std::string::npos)
        << outcome.errorOutput;
    EXPECT_NE(outcome.errorOutput.find("Signal: 8 (SIGFPE)"), std::string::npos);
}

// Two processes crash at the same moment, so in the same second.
TEST_F(CrashHandlerTest, CrashesAtOnceKeepTheirOwnReports) {
    int release[2];
    ASSERT_EQ(pipe(release), 0);
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        if (child == 0) {
            close(release[1]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDERR_FILENO);
            const rlimit noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            setCrashReportFolder(CString(m_folder.c_str()));
            installCrashHandler();
            char byte;
            if (read(release[0], &byte, 1) < 0)
                _exit(2);
            std::abort();
        }
    }
    close(release[0]);
    close(release[1]);
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT);
    }
    const auto found = reports(m_folder);
    ASSERT_EQ(found.size(), 2u);
    for (const auto& report : found)
        EXPECT_NE(contents(report).find("Signal: 6 (SIGABRT)\nBack trace:\n"), std::string::npos);
}

TEST_F(CrashHandlerTest, FolderPathTooLongIsRefused) {
    EXPECT_FALSE(setCrashReportFolder(CString(std::string(5000, 'a').c_str())));
}
