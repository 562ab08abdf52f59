#include "engine/io/DiskInputFile.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "io/FileSteps.h"
#include "io/TempFolder.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(DiskInputFileTest, OpensANonAsciiNameThroughUtf8) {
    TempFolder folder;
    // Latin, CJK and a character outside the basic plane (a surrogate pair in UTF-16).
    const std::string name = "Pr\xC3\xBC"
                             "fung-\xE6\x97\xA5\xE6\x9C\xAC-\xF0\x9F\x92\x83.bin";
    writeFile(folder.path() / name, std::string("ab\0cd", 5));

    const CStringW wide = folder.wide(name);
    CRefPointer<IInputFile> file = createDiskInputFile(wide);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->getName() == wide);
    EXPECT_EQ(file->getLength(), 5);
    char bytes[8] = {};
    EXPECT_EQ(file->readBytes(bytes, 8), 5);
    EXPECT_EQ(std::memcmp(bytes, "ab\0cd", 5), 0);
}

TEST(DiskInputFileTest, BackslashesSeparateFolders) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "sub");
    writeFile(folder.path() / "sub" / "a.bin", "x");
    CStringW name = folder.wide();
    name.append(u"\\sub\\a.bin");
    EXPECT_TRUE(createDiskInputFile(name));
}

TEST(DiskInputFileTest, RefusesWhatIsNotAReadableRegularFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "folder");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0600), 0);
    const CStringW cases[] = {
        u"", folder.wide("missing.bin"), folder.wide("folder"), folder.wide("pipe"), u"/dev/null",
    };
    for (const CStringW& name : cases) {
        EXPECT_FALSE(createDiskInputFile(name)) << utf16ToUtf8(name.c_str()).c_str();
        CRefPointer<CDiskInputFile> file(new CDiskInputFile(name));
        EXPECT_FALSE(file->isOpen());
        char byte = 0;
        EXPECT_EQ(file->readBytes(&byte, 1), 0);
        EXPECT_FALSE(file->seekTo(0, false));
    }
}

TEST(DiskInputFileTest, RefusesFilesOfTwoGibibytes) {
    TempFolder folder;
    struct Case {
        const char* name;
        int64_t size;
        bool opens;
    };
    // Sparse files: nothing is written to the disk.
    const Case cases[] = {{"largest.bin", INT32_MAX, true}, {"too-big.bin", 1LL << 31, false}};
    for (const Case& c : cases) {
        std::ofstream(folder.path() / c.name).close();
        std::filesystem::resize_file(folder.path() / c.name, uint64_t(c.size));
        CRefPointer<IInputFile> file = createDiskInputFile(folder.wide(c.name));
        EXPECT_EQ(bool(file), c.opens) << c.name;
        if (file) {
            EXPECT_EQ(file->getLength(), INT32_MAX);
        }
    }
}

TEST(DiskInputFileTest, SeeksAndReadsLikeTheStream) {
    TempFolder folder;
    writeFile(folder.path() / "ten.bin", "0123456789");
    CRefPointer<IInputFile> file = createDiskInputFile(folder.wide("ten.bin"));
    ASSERT_TRUE(file);
    const Step steps[] = {
        {Op::Read, 0, 0, 0},
        {Op::Read, -4, 0, 0},
        {Op::Seek, 8, 1, 8},
        {Op::Read, 5, 2, 10},
        {Op::Read, 5, 0, 10},
        {Op::Seek, -1, 0, 10},
        {Op::SeekRelative, -11, 0, 10},
        {Op::SeekRelative, -3, 1, 7},
        {Op::SeekRelative, INT32_MAX, 0, 7},
    };
    EXPECT_EQ(runSteps(*file, steps), -1);
    char byte = 0;
    ASSERT_EQ(file->readBytes(&byte, 1), 1);
    EXPECT_EQ(byte, '7');
}

} // namespace
