#include "engine/io/DiskOutputFile.h"

#include <climits>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "io/FileSteps.h"
#include "io/TempFolder.h"

namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeThrough(const CStringW& name, bool append, const std::string& bytes) {
    CRefPointer<IOutputFile> file = createDiskOutputFile(name, append);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->writeBytes(bytes.data(), int32_t(bytes.size())), int32_t(bytes.size()));
}

TEST(DiskOutputFileTest, AppendKeepsTheContentsAndWritesAfterThem) {
    TempFolder folder;
    const CStringW name = folder.wide("log.txt");
    writeThrough(name, false, "abc");
    {
        CRefPointer<IOutputFile> appending = createDiskOutputFile(name, true);
        ASSERT_TRUE(appending);
        EXPECT_EQ(appending->getPosition(), 3);
    }
    writeThrough(name, true, "de");
    EXPECT_EQ(contentsOf(folder.path() / "log.txt"), "abcde");
    writeThrough(name, false, "x");
    EXPECT_EQ(contentsOf(folder.path() / "log.txt"), "x");
}

TEST(DiskOutputFileTest, WritesANonAsciiNameAsUtf8WithSlashes) {
    TempFolder folder;
    CStringW name = folder.wide();
    name.append(u"\\\u00e9t\u00e9-\U0001F483.dat");
    writeThrough(name, false, std::string("\0\xff", 2));
    EXPECT_EQ(contentsOf(folder.path() / "\xC3\xA9t\xC3\xA9-\xF0\x9F\x92\x83.dat"),
              std::string("\0\xff", 2));
}

TEST(DiskOutputFileTest, RefusesAnEmptyNameAndAFolder) {
    TempFolder folder;
    EXPECT_FALSE(createDiskOutputFile(u"", false));
    EXPECT_FALSE(createDiskOutputFile(u"", true));
    EXPECT_FALSE(createDiskOutputFile(folder.wide(), false));
    EXPECT_FALSE(createDiskOutputFile(folder.wide("no-such-folder/x.txt"), false));
}

TEST(DiskOutputFileTest, SeeksInsideTheFileAndRefusesNegativeTargets) {
    TempFolder folder;
    CRefPointer<IOutputFile> file = createDiskOutputFile(folder.wide("seek.bin"), false);
    ASSERT_TRUE(file);
    const Step steps[] = {
        {Op::Write, 0, 0, 0}, {Op::Write, -1, 0, 0},        {Op::Write, 6, 6, 6},
        {Op::Seek, -1, 0, 6}, {Op::SeekRelative, -7, 0, 6}, {Op::SeekRelative, INT32_MAX, 0, 6},
        {Op::Seek, 2, 1, 2},  {Op::Write, 1, 1, 3},
    };
    EXPECT_EQ(runSteps(*file, steps), -1);
    file.reset();
    EXPECT_EQ(contentsOf(folder.path() / "seek.bin"), std::string(6, '\0'));
}

} // namespace
