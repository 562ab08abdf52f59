#include "game/level/WalkGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "tests/level/WalkGridFixtures.h"

namespace {

CNameId name(const char* text) {
    return CNameId(CString(text));
}

CRefPointer<CMemoryBlockFile> fileOver(const std::string& bytes) {
    auto* copy = new uint8_t[bytes.size() + 1];
    std::copy(bytes.begin(), bytes.end(), copy);
    return CRefPointer<CMemoryBlockFile>(
        new CMemoryBlockFile(copy, int32_t(bytes.size()), u"levels/setting1/wgrid.bin", true));
}

// The cells of weight other than 0, as "(column,row)=weight".
std::string weights(const WalkGrid& grid) {
    std::string text;
    for (int32_t column = 0; column < grid.getColumns(); ++column) {
        for (int32_t row = 0; row < grid.getRows(); ++row) {
            if (const uint8_t weight = grid.getWeight({column, row}))
                text += "(" + std::to_string(column) + "," + std::to_string(row) +
                        ")=" + std::to_string(weight);
        }
    }
    return text;
}

TEST(WalkGridTest, RegionsAreStampedAroundEachLocationsOwnCell) {
    WalkGrid grid;
    grid.allocate(200, 6);
    WalkGrid::Region& pad = grid.getRegion(name("Pad"));
    pad.append(WalkGrid::makeRegionEntry(0, 0, 50));
    pad.append(WalkGrid::makeRegionEntry(1, -1, 60));
    pad.append(WalkGrid::makeRegionEntry(-128, 127, 70)); // far outside: passed over
    grid.getRegion(name("Corner")).append(WalkGrid::makeRegionEntry(0, -1, 99));

    grid.stampRegion({2, 2}, name("Pad"));
    grid.stampRegion({5, 3}, name("Pad"));
    // Past column 127 a location still stamps at its own cell.
    grid.stampRegion({150, 1}, name("Pad"));
    // Row -1 of the first row is outside the grid, not the last row of the column before.
    grid.stampRegion({1, 0}, name("Corner"));
    grid.stampRegion({4, 4}, name("NoRegion"));
    EXPECT_EQ(weights(grid), "(2,2)=50(3,1)=60(5,3)=50(6,2)=60(150,1)=50(151,0)=60");
    EXPECT_NE(grid.getRegions().find(name("NoRegion")), grid.getRegions().end())
        << "a template without a region gets an empty one";

    grid.clearWeights();
    EXPECT_EQ(weights(grid), "");
    EXPECT_EQ(grid.getRegion(name("Pad")).size(), 3u);
}

TEST(WalkGridTest, CellsOfWorldPointsAreTruncatedTowardZero) {
    WalkGrid grid;
    grid.setDefaults();
    EXPECT_EQ(grid.cellAt({39.9f, 20}), (WalkGridCell{1, 1}));
    EXPECT_EQ(grid.cellAt({-19, 0}), (WalkGridCell{0, 0}));
    EXPECT_EQ(grid.cellAt({-21, 0}), (WalkGridCell{-1, 0}));
    EXPECT_FALSE(grid.contains(grid.cellAt({1e30f, NAN})));
}

TEST(WalkGridTest, SavingThenLoadingGivesTheSameGrid) {
    WalkGrid saved;
    saved.setDefaults();
    saved.allocate(60, 40);
    saved.getRegion(name("Pad")).append(WalkGrid::makeRegionEntry(-1, 2, 255));
    saved.getRegion(name("Pad")).append(WalkGrid::makeRegionEntry(3, -4, 7));
    saved.getRegion(name("Bar")).append(WalkGrid::makeRegionEntry(0, 0, 11));
    saved.getRegion(name("Empty"));
    saved.setWeight({1, 1}, 9);
    const CRefPointer<CVirtualFile> file(new CVirtualFile(u"wgrid.bin", 64));
    ASSERT_TRUE(saved.save(*file));

    WalkGridBytes expected;
    expected.u32(20).u32(60).u32(40).u32(0).u32(3);
    for (const auto& region : saved.getRegions()) {
        expected.name(region.key.toString().c_str()).u32(region.value.size());
        for (uint32_t entry : region.value)
            expected.u32(entry);
    }
    std::string written(size_t(file->getLength()), '\0');
    file->seekTo(0, false);
    file->readBytes(written.data(), int32_t(written.size()));
    EXPECT_EQ(written, expected.bytes());

    WalkGrid loaded;
    const std::string withExtras =
        WalkGridBytes().u32(16).u32(60).u32(40).u32(2).u32(1).u32(0xDEADBEEF).bytes() +
        written.substr(16);
    ASSERT_TRUE(loaded.load(*fileOver(withExtras)));
    EXPECT_EQ(loaded.getCellSize(), 16);
    EXPECT_EQ(loaded.getColumns(), 60);
    EXPECT_EQ(loaded.getRows(), 40);
    EXPECT_EQ(weights(loaded), "") << "the file holds no weights";
    ASSERT_EQ(loaded.getExtraEntries().size(), 2u);
    EXPECT_EQ(loaded.getExtraEntries()[1], 0xDEADBEEF);
    ASSERT_EQ(loaded.getRegions().size(), 3u);
    for (const auto& region : saved.getRegions()) {
        const auto found = loaded.getRegions().find(region.key);
        ASSERT_NE(found, loaded.getRegions().end());
        EXPECT_EQ(std::vector<uint32_t>(found->value.begin(), found->value.end()),
                  std::vector<uint32_t>(region.value.begin(), region.value.end()));
    }

    const CRefPointer<CVirtualFile> again(new CVirtualFile(u"wgrid.bin", 64));
    ASSERT_TRUE(loaded.save(*again));
    EXPECT_EQ(again->getLength(), int32_t(withExtras.size()));
}

TEST(WalkGridTest, ARegionNamedTwiceCollectsTheEntriesOfBoth) {
    WalkGrid grid;
    const std::string bytes = WalkGridBytes()
                                  .u32(20)
                                  .u32(10)
                                  .u32(10)
                                  .u32(0)
                                  .u32(2)
                                  .name("Twice")
                                  .u32(1)
                                  .u32(5)
                                  .name("Twice")
                                  .u32(1)
                                  .u32(6)
                                  .bytes();
    ASSERT_TRUE(grid.load(*fileOver(bytes)));
    ASSERT_EQ(grid.getRegions().size(), 1u);
    EXPECT_EQ(grid.getRegion(name("Twice")).size(), 2u);
}

TEST(WalkGridTest, ARegionNameLongerThanAByteIsNotSaved) {
    WalkGrid grid;
    grid.setDefaults();
    grid.getRegion(CNameId(CString(std::string(256, 'n').c_str())));
    grid.getRegion(name("Short")).append(1);
    const CRefPointer<CVirtualFile> file(new CVirtualFile(u"wgrid.bin", 64));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(grid.save(*file));
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("WRN: Walk grid region not saved, its name is too long: nnn"),
              std::string::npos)
        << log;
    const std::string tail = WalkGridBytes().u32(1).name("Short").u32(1).u32(1).bytes();
    EXPECT_EQ(file->getLength(), int32_t(16 + tail.size()));
}

TEST(WalkGridTest, TheLargestGridIsSearchedCornerToCorner) {
    WalkGrid grid;
    ASSERT_TRUE(
        grid.load(*fileOver(WalkGridBytes().u32(1).u32(1024).u32(1024).u32(0).u32(0).bytes())));
    CArray<WalkGridCell> path;
    ASSERT_TRUE(grid.search({0, 0}, {1023, 1023}, path, true));
    EXPECT_EQ(describeCells(path), "(0,0)(1023,1023)");
}

TEST(WalkGridTest, AMalformedFileIsRefusedWholeWithAWarning) {
    const auto header = [](uint32_t cellSize, uint32_t columns, uint32_t rows) {
        return WalkGridBytes().u32(cellSize).u32(columns).u32(rows);
    };
    struct Case {
        const char* what;
        std::string bytes;
        const char* fault;
    };
    const Case cases[] = {
        {"empty", "", "the file ends early"},
        {"cell size 0", header(0, 5, 5).u32(0).u32(0).bytes(), "the cell size is 0 or less"},
        {"cell size negative", header(uint32_t(-20), 5, 5).u32(0).u32(0).bytes(),
         "the cell size is 0 or less"},
        {"no rows", WalkGridBytes().u32(20).u32(5).bytes(), "the file ends early"},
        {"0 columns", header(20, 0, 5).u32(0).u32(0).bytes(), "the grid is not 1 to 1024"},
        {"1025 rows", header(20, 5, 1025).u32(0).u32(0).bytes(), "the grid is not 1 to 1024"},
        {"negative columns", header(20, uint32_t(-1), 5).u32(0).u32(0).bytes(),
         "the grid is not 1 to 1024"},
        {"extra entries", header(20, 5, 5).u32(3).u32(1).u32(2).bytes(),
         "the extra entries run past the end"},
        {"no region count", header(20, 5, 5).u32(0).bytes(), "the file ends early"},
        {"regions", header(20, 5, 5).u32(0).u32(2).name("A").u32(0).bytes(),
         "the regions run past the end"},
        {"region name", header(20, 5, 5).u32(0).u32(1).name(std::string(200, 'a')).cut(30).bytes(),
         "a region name runs past the end"},
        {"region entry count", header(20, 5, 5).u32(0).u32(1).name("Pad").u32(0).cut(27).bytes(),
         "the file ends early"},
        {"region entries", header(20, 5, 5).u32(0).u32(1).name("Pad").u32(2).u32(7).bytes(),
         "a region's entries run past the end"},
    };
    for (const Case& c : cases) {
        WalkGrid grid;
        grid.setDefaults();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(grid.load(*fileOver(c.bytes))) << c.what;
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_NE(
            log.find(std::string("WRN: Walk grid levels/setting1/wgrid.bin refused: ") + c.fault),
            std::string::npos)
            << c.what << ": " << log;
        EXPECT_EQ(grid.getCellSize(), 20) << c.what;
        EXPECT_EQ(grid.getColumns(), 52) << c.what;
        EXPECT_EQ(grid.getRows(), 39) << c.what;
        EXPECT_TRUE(grid.hasCells()) << c.what;
        EXPECT_EQ(grid.getRegions().size(), 0u) << c.what;
        EXPECT_EQ(grid.getExtraEntries().size(), 0u) << c.what;
    }
}

} // namespace
