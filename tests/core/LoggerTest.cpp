#include "engine/core/Logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/RefPointer.h"

namespace {

std::u16string widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::string narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// '#' in the pattern stands for any decimal digit.
bool matchesPattern(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '#' ? !digit : text[i] != pattern[i])
            return false;
    }
    return true;
}

class LoggerTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "logger_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        // The folders above the file do not exist yet: open has to make them.
        path = root + "/Publisher/Title/Game.log";
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

    CRefPointer<CLogger> openLogger() {
        CRefPointer<CLogger> logger(new CLogger);
        logger->open(CStringW(widen(path).c_str()));
        return logger;
    }

    std::string readBytes() const {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // The file after its byte-order mark, as UTF-16 little-endian code units.
    std::u16string readText() const {
        const std::string bytes = readBytes();
        EXPECT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(bytes.size() % 2, 0u);
        std::u16string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        return text;
    }

    // What follows the header; fails when the header is not there.
    std::u16string readLines() const {
        const std::u16string text = readText();
        const std::string dashes(63, '-');
        const std::string header =
            "\r" + dashes + "\rLogging started, ##/##/## ##:##:##\r" + dashes + "\r";
        const std::string start = narrow(text.substr(0, header.size()));
        EXPECT_TRUE(matchesPattern(start, header)) << start;
        return text.substr(std::min(text.size(), header.size()));
    }

    std::string root;
    std::string path;
};

TEST_F(LoggerTest, FileHoldsHeaderAndCarriageReturnEndedLines) {
    auto logger = openLogger();
    logger->logChars("hidden debug", CLogger::LevelDebug);
    logger->logChars("started", CLogger::LevelInformation);
    logger->logWide(u"caf\u00E9 \u2713", CLogger::LevelWarning);
    logger->log(CStringW(u"first\nsecond"), CLogger::LevelError);
    EXPECT_EQ(readLines(), u"INF: started\rWRN: caf\u00E9 \u2713\rERR: first\nsecond\r");
}

TEST_F(LoggerTest, LineFeedIsTheOneCodeUnitItIs) {
    auto logger = openLogger();
    const size_t before = readBytes().size();
    logger->logChars("a\nb", CLogger::LevelInformation);
    const std::string written = readBytes().substr(before);
    EXPECT_EQ(written, std::string("I\0N\0F\0:\0 \0a\0\n\0b\0\r\0", 18));
}

TEST_F(LoggerTest, EchoIsUtf8WithALineFeed) {
    CRefPointer<CLogger> logger(new CLogger);
    testing::internal::CaptureStdout();
    logger->logWide(u"caf\u00E9 \u2713", CLogger::LevelWarning);
    logger->logChars("quiet", CLogger::LevelDebug);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WRN: caf\xC3\xA9 \xE2\x9C\x93\r\n");
}

TEST_F(LoggerTest, MinimumLevelAndLevelClamping) {
    struct Case {
        int32_t minLevel;
        int32_t level;
        const char16_t* line;
    };
    const Case cases[] = {
        {1, 0, u""},           {1, 1, u"INF: x\r"}, {0, 0, u"DBG: x\r"}, {4, 0, u""},
        {-3, -2, u"DBG: x\r"}, {1, -2, u""},        {3, 9, u"ERR: x\r"}, {3, 2, u""},
    };
    for (const Case& c : cases) {
        auto logger = openLogger();
        logger->setMinLevel(c.minLevel);
        logger->logChars("x", CLogger::Level(c.level));
        EXPECT_EQ(readLines(), c.line) << c.minLevel << " " << c.level;
    }
}

TEST_F(LoggerTest, ReopeningStartsTheFileAnew) {
    auto logger = openLogger();
    logger->logChars("old", CLogger::LevelInformation);
    logger->open(CStringW(widen(path).c_str()));
    logger->logChars("new", CLogger::LevelInformation);
    EXPECT_EQ(readLines(), u"INF: new\r");
}

// A log that cannot be opened (a read-only data folder) must not take the lines with it: they
// go to standard error, after a warning naming the file, until a log opens.
TEST_F(LoggerTest, WithoutAFileLinesEchoAndAFailedOpenSendsThemToStandardError) {
    CRefPointer<CLogger> logger(new CLogger);
    testing::internal::CaptureStdout();
    logger->logChars("before open", CLogger::LevelInformation);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "INF: before open\r\n");

    std::fclose(std::fopen((root + "/file").c_str(), "w"));
    const std::string blocked = root + "/file/below.log";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    logger->open(CStringW(widen(blocked).c_str()));
    logger->logChars("still fine", CLogger::LevelInformation);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(error, "WRN: Could not open the log file " + blocked + ": Not a directory\r\n" +
                         "INF: still fine\r\n");
    EXPECT_FALSE(std::ifstream(blocked).good());

    testing::internal::CaptureStdout();
    logger->open(CStringW(widen(path).c_str()));
    logger->logChars("back", CLogger::LevelInformation);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "INF: back\r\n");
    EXPECT_EQ(readLines(), u"INF: back\r");
}

TEST_F(LoggerTest, LinesFromSeveralThreadsStayWhole) {
    auto logger = openLogger();
    const int threads = 4;
    const int lines = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&logger, t] {
            const std::string text = "thread " + std::to_string(t) + " says hello";
            for (int i = 0; i < lines; ++i)
                logger->logChars(text.c_str(), CLogger::LevelInformation);
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    const std::string body = narrow(readLines());
    int counted = 0;
    size_t start = 0;
    for (size_t end; (end = body.find('\r', start)) != std::string::npos; start = end + 1) {
        EXPECT_TRUE(matchesPattern(body.substr(start, end - start), "INF: thread # says hello"));
        ++counted;
    }
    EXPECT_EQ(counted, threads * lines);
    EXPECT_EQ(start, body.size());
}

TEST(LoggerInstanceTest, OneLoggerForTheProcess) {
    CLogger* first = CLogger::instance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CLogger::instance(), first);
    std::thread other([first] { EXPECT_EQ(CLogger::instance(), first); });
    other.join();
}

} // namespace
