#include "engine/core/Logger.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "engine/core/Array.h"
#include "engine/core/PosixFolders.h"
#include "engine/core/Utf.h"

namespace {

// Trivially destructible, so the exit hook and late users can still take it.
std::mutex creationLock;
std::atomic<CLogger*> processLogger{nullptr};

void releaseProcessLogger() {
    std::lock_guard<std::mutex> guard(creationLock);
    CLogger* logger = processLogger.exchange(nullptr);
    if (logger != nullptr)
        logger->release();
}

const char* const kPrefixes[4] = {"DBG: ", "INF: ", "WRN: ", "ERR: "};

CLogger::Level clampLevel(CLogger::Level level) {
    return level < CLogger::LevelDebug
               ? CLogger::LevelDebug
               : (level > CLogger::LevelError ? CLogger::LevelError : level);
}

CStringW headerText() {
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%02d/%02d/%02d %02d:%02d:%02d", local.tm_mon + 1,
                  local.tm_mday, local.tm_year % 100, local.tm_hour, local.tm_min, local.tm_sec);
    const char* const dashes = "---------------------------------------------------------------";
    CStringW header(u"\r");
    header.append(dashes).append(u"\r").append("Logging started, ").append(stamp);
    header.append(u"\r").append(dashes).append(u"\r");
    return header;
}

// The part of the path before its last '/', or empty when there is none.
CString parentFolder(const CString& path) {
    for (uint32_t i = path.length(); i > 0; --i) {
        if (path[i - 1] == '/')
            return path.subString(0, i - 1);
    }
    return CString();
}

} // namespace

CLogger* CLogger::instance() {
    CLogger* logger = processLogger.load(std::memory_order_acquire);
    if (logger != nullptr)
        return logger;
    std::lock_guard<std::mutex> guard(creationLock);
    logger = processLogger.load(std::memory_order_relaxed);
    if (logger == nullptr) {
        logger = new CLogger;
        processLogger.store(logger, std::memory_order_release);
        std::atexit(releaseProcessLogger);
    }
    return logger;
}

CLogger::CLogger() : m_mutex(new CMutex) {}

CLogger::~CLogger() {
    closeFile();
}

void CLogger::closeFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

void CLogger::open(const CStringW& path) {
    const CString utf8Path = utf16ToUtf8(path.c_str());
    int error = 0;
    {
        std::lock_guard<CMutex> guard(*m_mutex);
        closeFile();
        const CString folder = parentFolder(utf8Path);
        if (!folder.isEmpty())
            makeFolders(folder.c_str());
        // Binary: a line feed inside a message stays the one code unit it is.
        m_file = std::fopen(utf8Path.c_str(), "wb");
        if (m_file == nullptr) {
            error = errno;
            m_echo = stderr;
        } else {
            m_echo = stdout;
            std::setvbuf(m_file, nullptr, _IONBF, 0);
            const char16_t byteOrderMark = 0xFEFF;
            writeUnits(&byteOrderMark, 1);
            const CStringW header = headerText();
            writeUnits(header.c_str(), header.length());
        }
    }
    if (error != 0) {
        CString line("Could not open the log file ");
        line.append(utf8Path).append(": ").append(std::strerror(error));
        log(utf8ToUtf16(line.c_str()), LevelWarning);
    }
}

void CLogger::setMinLevel(int32_t level) {
    if (level <= LevelError)
        m_minLevel.store(level, std::memory_order_relaxed);
}

void CLogger::log(const CStringW& message, Level level) {
    level = clampLevel(level);
    if (level < m_minLevel.load(std::memory_order_relaxed))
        return;
    CStringW line(kPrefixes[level]);
    line.append(message).append(u"\r");
    CString echo = utf16ToUtf8(line.c_str());
    echo.append("\n");
    std::lock_guard<CMutex> guard(*m_mutex);
    std::fwrite(echo.c_str(), 1, echo.length(), m_echo);
    if (m_file != nullptr) {
        writeUnits(line.c_str(), line.length());
        std::fflush(m_file);
    }
}

void CLogger::logChars(const char* text, Level level) {
    log(CStringW(text), level);
}

void CLogger::logNarrow(const CString& text, Level level) {
    log(CStringW(text.c_str()), level);
}

void CLogger::logWide(const char16_t* text, Level level) {
    log(CStringW(text), level);
}

// Little-endian whatever the host, in one write so that the line reaches the file whole.
void CLogger::writeUnits(const char16_t* units, uint32_t count) {
    CArray<uint8_t> bytes;
    bytes.reallocate(count * 2);
    for (uint32_t i = 0; i < count; ++i) {
        bytes.append(uint8_t(units[i] & 0xFF));
        bytes.append(uint8_t(units[i] >> 8));
    }
    std::fwrite(bytes.data(), 1, bytes.size(), m_file);
}
