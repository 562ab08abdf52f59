#include "engine/io/CrashHandler.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Logger.h"
#include "engine/core/Utf.h"
#include "engine/io/PosixSignals.h"
#include "engine/io/PosixThreadNice.h"
#include "engine/io/XdgFolders.h"

namespace {

const int FatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
const int MaxFrames = 64;
// Leaves room in a path buffer for the report's file name.
const uint32_t MaxFolderLength = 3840;
const uint64_t MaxNameAttempts = 100;

// Text built without allocating, for use inside a signal handler; cut at the capacity.
template <size_t Capacity>
class CFixedText {
public:
    CFixedText& append(const char* text) {
        while (*text && m_length + 1 < Capacity)
            m_text[m_length++] = *text++;
        m_text[m_length] = 0;
        return *this;
    }

    CFixedText& appendNumber(uint64_t value, unsigned base = 10) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value != 0);
        char reversed[24];
        for (int i = 0; i < count; ++i)
            reversed[i] = digits[count - 1 - i];
        reversed[count] = 0;
        return append(reversed);
    }

    void clear() { m_text[m_length = 0] = 0; }
    bool isEmpty() const { return m_length == 0; }
    const char* c_str() const { return m_text; }

private:
    char m_text[Capacity] = {};
    size_t m_length = 0;
};

using CPathText = CFixedText<4096>;

// The process-wide record, filled before any crash so that the handler only reads it.
struct CrashRecord {
    CPathText folder;
    CFixedText<256> programName;
    CFixedText<512> uncaughtException;
    std::atomic<pid_t> reportingThread{0};
    bool attempted = false;
    bool installed = false;
};

CrashRecord g_record;

void writeText(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t written = write(fd, text, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text += written;
        left -= size_t(written);
    }
}

// Makes every missing folder of the path; failures show when the report is opened.
void makeReportFolders(const char* path) {
    CPathText partial;
    char piece[2] = {0, 0};
    for (const char* at = path; *at; ++at) {
        if (*at == '/' && at != path)
            mkdir(partial.c_str(), 0755);
        piece[0] = *at;
        partial.append(piece);
    }
    mkdir(partial.c_str(), 0755);
}

void writeReport(int fd, int signal, const siginfo_t* info) {
    CFixedText<1024> head;
    head.append("Crash report\nProgram: ").append(g_record.programName.c_str());
    head.append("\nSignal: ").appendNumber(unsigned(signal)).append(" (");
    head.append(signalName(signal)).append(")\n");
    // Only a fault found by the processor has an address; a signal sent by raise or kill has not.
    if (info && info->si_code > 0) {
        head.append("Address: 0x").appendNumber(reinterpret_cast<uintptr_t>(info->si_addr), 16);
        head.append("\n");
    }
    if (!g_record.uncaughtException.isEmpty())
        head.append(g_record.uncaughtException.c_str()).append("\n");
    head.append("Back trace:\n");
    writeText(fd, head.c_str());
    void* frames[MaxFrames];
    backtrace_symbols_fd(frames, backtrace(frames, MaxFrames), fd);
}

// A new file whose name no earlier report has: the time and the process id tell crashes apart,
// and a number is added for the rare name that is taken all the same. Never opens an old one.
int createReportFile(CPathText& path) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    for (uint64_t attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        path.clear();
        path.append(g_record.folder.c_str()).append("/").append(g_record.programName.c_str());
        path.append(".").appendNumber(uint64_t(now.tv_sec));
        path.append(".").appendNumber(uint64_t(getpid()));
        if (attempt != 0)
            path.append("-").appendNumber(attempt);
        path.append(".crash.txt");
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void reportCrash(int signal, const siginfo_t* info) {
    makeReportFolders(g_record.folder.c_str());
    CPathText path;
    const int fd = createReportFile(path);
    if (fd < 0) {
        writeText(STDERR_FILENO, "Could not write the crash report to ");
        writeText(STDERR_FILENO, path.c_str());
        writeText(STDERR_FILENO, "\n");
        writeReport(STDERR_FILENO, signal, info);
        return;
    }
    writeReport(fd, signal, info);
    close(fd);
    writeText(STDERR_FILENO, "Crash report written to ");
    writeText(STDERR_FILENO, path.c_str());
    writeText(STDERR_FILENO, "\n");
}

void onFatalSignal(int signal, siginfo_t* info, void*) {
    // One report per process: a second crashing thread waits for the first to end the process,
    // and a crash inside the report itself ends it at once.
    const pid_t self = currentThreadId();
    pid_t expected = 0;
    if (g_record.reportingThread.compare_exchange_strong(expected, self))
        reportCrash(signal, info);
    else if (expected != self)
        waitForever();
    dieBySignal(signal);
}

// The exception's text goes into the report of the SIGABRT that abort raises.
[[noreturn]] void onTerminate() {
    g_record.uncaughtException.clear();
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& exception) {
            g_record.uncaughtException.append("Uncaught exception: ").append(exception.what());
        } catch (...) {
            g_record.uncaughtException.append("Uncaught exception of unknown type");
        }
    } else {
        g_record.uncaughtException.append("Terminate called without an exception");
    }
    std::abort();
}

// Without any home folder the report still goes somewhere writable, never below "/".
void setDefaultFolder() {
    const CStringW dataHome = xdgDataHome();
    g_record.folder.append(dataHome.isEmpty() ? "/tmp" : utf16ToUtf8(dataHome.c_str()).c_str());
    g_record.folder.append("/QuorvaneTessmark/Velmora");
}

} // namespace

bool installCrashHandler() {
    if (g_record.attempted)
        return g_record.installed;
    g_record.attempted = true;
    if (g_record.folder.isEmpty())
        setDefaultFolder();
    g_record.programName.append(program_invocation_short_name);
    // The first back trace loads the unwinder, which allocates: do it now, not in a crash.
    void* frames[1];
    backtrace(frames, 1);
    bool installed = installAlternateSignalStack();
    for (const int signal : FatalSignals)
        installed = installFatalSignalHandler(signal, onFatalSignal) && installed;
    std::set_terminate(onTerminate);
    if (!installed)
        CLogger::instance()->logChars("Could not install every crash signal handler",
                                      CLogger::LevelWarning);
    g_record.installed = installed;
    return installed;
}

bool setCrashReportFolder(const CString& folder) {
    if (folder.length() > MaxFolderLength) {
        CLogger::instance()->logNarrow("Crash report folder path too long: " + folder,
                                       CLogger::LevelWarning);
        return false;
    }
    g_record.folder.clear();
    g_record.folder.append(folder.c_str());
    return true;
}
