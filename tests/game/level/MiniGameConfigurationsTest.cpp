#include "game/level/MiniGameConfigurations.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Utf.h"
#include "tests/app/ConfigFixtures.h"

// The three mini-game files read into their tables; the level's side is in MiniGameLevelTest.
namespace {

using config_fixtures::readerOver;

std::string narrow(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

TEST(MiniGameConfigurationsTest, EachLevelIsOneRecordInFileOrderAndPastTheEndAreTheDefaults) {
    GMiniGameConfigurations tables;
    tables.readRoul(*readerOver("<MiniGame>"
                                "<level><angle1 value=\"20\"/><angle2 value=\"40\"/>"
                                "<speed value=\"10\"/></level>"
                                "<level><angle2 value=\"90\"/><other value=\"5\"/></level>"
                                "<level/>"
                                "</MiniGame><level><angle1 value=\"7\"/></level>"));
    ASSERT_EQ(tables.roulCount(), 3u) << "a level after the closing MiniGame is not read";
    EXPECT_EQ(tables.roul(0)->angle1, 20);
    EXPECT_EQ(tables.roul(0)->angle2, 40);
    EXPECT_EQ(tables.roul(0)->speed, 10);
    EXPECT_EQ(tables.roul(1)->angle1, 0) << "a missing key reads 0";
    EXPECT_EQ(tables.roul(1)->angle2, 90);
    EXPECT_EQ(tables.roul(2)->speed, 0);
    EXPECT_EQ(tables.roul(3), nullptr) << "index 3 takes the game's defaults";
    EXPECT_EQ(tables.roul(-1), nullptr);

    tables.readBall(*readerOver("<MiniGame><level>"
                                "<ImageFilenames value=\"a.png\"/>"
                                "<CorrectImagePngPrefixPath value=\"balls/Ball\"/>"
                                "<ImageFilenames value=\"b.png\"/>"
                                "</level></MiniGame>"));
    ASSERT_EQ(tables.ballCount(), 1u);
    EXPECT_EQ(narrow(tables.ball(0)->correctImagePrefix), "balls/Ball");
    ASSERT_EQ(tables.ball(0)->imageFilenames.size(), 2u) << "a repeated key is a list";
    EXPECT_EQ(narrow(tables.ball(0)->imageFilenames[1]), "b.png");

    tables.clear();
    EXPECT_EQ(tables.roulCount() + tables.ballCount(), 0u);
}

TEST(MiniGameConfigurationsTest, TheDanceSpeedIsAboveZeroAndItsWidthsAreAList) {
    struct Case {
        const char* speed;
        float expected;
    };
    const Case cases[] = {
        {"", 250.f},
        {"<speed value=\"180\"/>", 180.f},
        {"<speed value=\"0\"/>", 250.f},
        {"<speed value=\"-40\"/>", 250.f},
    };
    for (const Case& c : cases) {
        GMiniGameConfigurations tables;
        tables.readDance(*readerOver(std::string("<MiniGame><level>") + c.speed +
                                     "<BlockWidths value=\"100\"/><BlockWidths value=\"50\"/>"
                                     "<BlockWidths value=\"100\"/></level></MiniGame>"));
        ASSERT_EQ(tables.danceCount(), 1u) << c.speed;
        EXPECT_EQ(tables.dance(0)->speed, c.expected) << c.speed;
        const CArray<float>& widths = tables.dance(0)->blockWidths;
        ASSERT_EQ(widths.size(), 3u) << c.speed;
        EXPECT_EQ(widths[0] + widths[1] + widths[2], 250.f) << c.speed;
        EXPECT_EQ(widths[1], 50.f) << c.speed;
    }
}

TEST(MiniGameConfigurationsTest, ReadingTheFilesAgainEmptiesTheTablesFirst) {
    const CRefPointer<IVirtualFileSystem> none;
    GMiniGameConfigurations tables;
    tables.readDance(*readerOver("<MiniGame><level/><level/></MiniGame>"));
    tables.loadFiles(none.get());
    EXPECT_EQ(tables.danceCount(), 0u) << "missing files leave every table empty";
}

} // namespace
