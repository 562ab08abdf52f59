#include "engine/io/MemoryBlockFile.h"

#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "engine/core/RefPointer.h"
#include "io/FileSteps.h"

namespace {

TEST(MemoryBlockFileTest, ReadsWritesAndSeeksStayInsideTheBlock) {
    uint8_t data[10] = {};
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(data, 10, u"block", false));
    const Step steps[] = {
        {Op::Read, 0, 0, 0},
        {Op::Read, -3, 0, 0},
        {Op::Seek, 8, 1, 8},
        {Op::Read, 5, 2, 10},
        {Op::Read, 5, 0, 10},
        {Op::Write, 1, 0, 10},
        {Op::Seek, 11, 0, 10},
        {Op::Seek, -1, 0, 10},
        {Op::SeekRelative, INT32_MAX, 0, 10},
        {Op::SeekRelative, -4, 1, 6},
        {Op::Write, 9, 4, 10},
        {Op::SeekRelative, -11, 0, 10},
        {Op::Seek, 0, 1, 0},
        {Op::SeekRelative, INT32_MIN, 0, 0},
        {Op::Write, INT32_MAX, 10, 10},
    };
    EXPECT_EQ(runSteps(*file, steps), -1);
    EXPECT_EQ(file->getLength(), 10);
}

TEST(MemoryBlockFileTest, CopiesTheBytesOfTheCallersBlock) {
    uint8_t data[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(data, 6, u"block", false));
    char read[4] = {};
    ASSERT_TRUE(file->seekTo(2, false));
    ASSERT_EQ(file->readBytes(read, 3), 3);
    EXPECT_EQ(std::memcmp(read, "cde", 3), 0);

    ASSERT_TRUE(file->seekTo(-4, true));
    ASSERT_EQ(file->writeBytes("XY", 2), 2);
    EXPECT_EQ(std::memcmp(data, "aXYdef", 6), 0);
    EXPECT_TRUE(file->getName() == u"block");
}

TEST(MemoryBlockFileTest, OwnsTheBlockOnlyWhenAsked) {
    // A leak or a double free here is reported by the address sanitizer.
    { CRefPointer<CMemoryBlockFile> owning(new CMemoryBlockFile(new uint8_t[8], 8, u"", true)); }
    uint8_t stack[8] = {};
    { CRefPointer<CMemoryBlockFile> borrowing(new CMemoryBlockFile(stack, 8, u"", false)); }
    CRefPointer<CMemoryBlockFile> empty(new CMemoryBlockFile(nullptr, 8, u"", false));
    EXPECT_EQ(empty->getLength(), 0);
    CRefPointer<CMemoryBlockFile> negative(new CMemoryBlockFile(stack, -8, u"", false));
    EXPECT_EQ(negative->getLength(), 0);
}

} // namespace
