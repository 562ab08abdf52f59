#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "engine/core/Mutex.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

// The process-wide log. A line is written when its level reaches the minimum (information at
// first). Every line is echoed to standard output in UTF-8 (to standard error once a log file
// could not be opened, so that the lines are not lost with it) and, once a file is open,
// appended to it as UTF-16 little-endian: prefix, message and a single carriage return. Lines
// from several threads never interleave.
class CLogger : public CRefCounted {
public:
    enum Level : int32_t {
        LevelDebug = 0,
        LevelInformation = 1,
        LevelWarning = 2,
        LevelError = 3,
    };

    // The process's logger, created on first use and released at exit; a use after that makes
    // a new one.
    static CLogger* instance();

    // A logger of its own, without a file; instance() is the one the engine writes to.
    CLogger();

    // Closes the open file and creates the file at the path anew (missing parent folders too),
    // with the byte-order mark and the "Logging started, " header. When the file cannot be
    // created the logger goes on without one, says so in a warning and echoes to standard
    // error from then on.
    void open(const CStringW& path);

    // Values above LevelError are ignored; negative ones let every level through.
    void setMinLevel(int32_t level);

    // Levels outside the enumeration count as the nearest of them.
    void log(const CStringW& message, Level level);
    // The text widened byte by byte.
    void logChars(const char* text, Level level);
    void logNarrow(const CString& text, Level level);
    void logWide(const char16_t* text, Level level);

private:
    ~CLogger() override;

    void closeFile();
    void writeUnits(const char16_t* units, uint32_t count);

    std::atomic<int32_t> m_minLevel{LevelInformation};
    std::FILE* m_file = nullptr;
    std::FILE* m_echo = stdout;
    CRefPointer<CMutex> m_mutex;
};
