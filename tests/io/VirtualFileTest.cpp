#include "engine/io/VirtualFile.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "io/FileSteps.h"

namespace {

CRefPointer<CVirtualFile> makeFile(uint32_t blockSize) {
    return CRefPointer<CVirtualFile>(new CVirtualFile(u"profile.dat", blockSize));
}

std::vector<uint8_t> readAll(CVirtualFile& file) {
    std::vector<uint8_t> bytes(size_t(file.getLength()) + 8);
    file.seekTo(0, false);
    bytes.resize(size_t(file.readBytes(bytes.data(), int32_t(bytes.size()))));
    return bytes;
}

TEST(VirtualFileTest, GrowsWithWritesAndRefusesSeeksBeyondItsSize) {
    CRefPointer<CVirtualFile> file = makeFile(4);
    const Step steps[] = {
        {Op::Read, 4, 0, 0},     {Op::Seek, 1, 0, 0},          {Op::Write, 0, 0, 0},
        {Op::Write, -1, 0, 0},   {Op::Write, 4, 4, 4},         {Op::Seek, 5, 0, 4},
        {Op::Seek, -1, 0, 4},    {Op::SeekRelative, -5, 0, 4}, {Op::Seek, 0, 1, 0},
        {Op::Read, 9, 4, 4},     {Op::Read, 1, 0, 4},          {Op::Seek, 1, 1, 1},
        {Op::Write, 2, 2, 3},    {Op::Read, -2, 0, 3},         {Op::SeekRelative, INT32_MAX, 0, 3},
        {Op::Write, 13, 13, 16}, {Op::Read, 1, 0, 16},
    };
    EXPECT_EQ(runSteps(*file, steps), -1);
    EXPECT_EQ(file->getLength(), 16);
}

TEST(VirtualFileTest, KeepsBytesAcrossBlockBoundaries) {
    // Writes of odd sizes at odd positions, each checked against a plain vector after each one.
    struct Case {
        uint32_t blockSize;
        int32_t position;
        int32_t count;
    };
    const Case cases[] = {{4, 0, 4}, {4, 2, 9}, {3, 0, 1}, {5, 0, 0}, {1, 0, 17}, {8, 3, 30}};
    for (const Case& c : cases) {
        CRefPointer<CVirtualFile> file = makeFile(c.blockSize);
        std::vector<uint8_t> expected;
        for (int round = 0; round < 3; ++round) {
            std::vector<uint8_t> bytes(size_t(c.count) + size_t(round));
            for (size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = uint8_t(round * 50 + int(i));
            }
            const int32_t position = std::min(c.position * round, file->getLength());
            ASSERT_TRUE(file->seekTo(position, false));
            ASSERT_EQ(file->writeBytes(bytes.data(), int32_t(bytes.size())), int32_t(bytes.size()));
            if (expected.size() < size_t(position) + bytes.size()) {
                expected.resize(size_t(position) + bytes.size());
            }
            std::copy(bytes.begin(), bytes.end(), expected.begin() + position);
            EXPECT_EQ(file->getPosition(), position + int32_t(bytes.size()));
            EXPECT_EQ(readAll(*file), expected) << "block size " << c.blockSize;
        }
    }
}

TEST(VirtualFileTest, OverwritingInPlaceKeepsTheSize) {
    CRefPointer<CVirtualFile> file = makeFile(4);
    ASSERT_EQ(file->writeBytes("abcdefghij", 10), 10);
    ASSERT_TRUE(file->seekTo(2, false));
    ASSERT_EQ(file->writeBytes("XYZ", 3), 3);
    EXPECT_EQ(file->getLength(), 10);
    const std::vector<uint8_t> bytes = readAll(*file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abXYZfghij");
}

TEST(VirtualFileTest, BlockSizeZeroStillStores) {
    CRefPointer<CVirtualFile> file = makeFile(0);
    ASSERT_EQ(file->writeBytes("abc", 3), 3);
    const std::vector<uint8_t> bytes = readAll(*file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
}

} // namespace
