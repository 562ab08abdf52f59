#include "engine/io/FileSlice.h"

#include <climits>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/io/DiskInputFile.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFile.h"
#include "io/FileSteps.h"
#include "io/TempFolder.h"

namespace {

// A 200-byte source whose byte i holds the value i.
CRefPointer<IInputFile> makeSource() {
    uint8_t* data = new uint8_t[200];
    for (int i = 0; i < 200; ++i) {
        data[i] = uint8_t(i);
    }
    return CRefPointer<IInputFile>(new CMemoryBlockFile(data, 200, u"archive", true));
}

TEST(FileSliceTest, ClampsSeeksAndReadsToItsWindow) {
    CRefPointer<IInputFile> source = makeSource();
    CRefPointer<IInputFile> slice = createFileSlice(u"entry", source.get(), 100, 50);
    const Step steps[] = {
        {Op::Seek, -5, 1, 0},          {Op::Seek, 80, 1, 50},
        {Op::Seek, 45, 1, 45},         {Op::Read, 20, 5, 50},
        {Op::Read, 1, 0, 50},          {Op::SeekRelative, -60, 1, 0},
        {Op::Read, 0, 0, 0},           {Op::Read, -1, 0, 0},
        {Op::Read, INT32_MAX, 50, 50}, {Op::SeekRelative, INT32_MAX, 1, 50},
        {Op::Seek, 10, 1, 10},         {Op::SeekRelative, INT32_MIN, 1, 0},
    };
    EXPECT_EQ(runSteps(*slice, steps), -1);
    EXPECT_EQ(slice->getLength(), 50);
    EXPECT_TRUE(slice->getName() == u"entry");
}

TEST(FileSliceTest, ReadsTheSourceBytesAtItsOffset) {
    CRefPointer<IInputFile> source = makeSource();
    CRefPointer<IInputFile> first = createFileSlice(u"a", source.get(), 100, 50);
    CRefPointer<IInputFile> second = createFileSlice(u"b", source.get(), 10, 5);
    uint8_t bytes[8] = {};
    ASSERT_TRUE(first->seekTo(45, false));
    ASSERT_EQ(first->readBytes(bytes, 8), 5);
    EXPECT_EQ(bytes[0], 145);
    EXPECT_EQ(bytes[4], 149);
    // Interleaved readers of one source do not disturb each other.
    ASSERT_EQ(second->readBytes(bytes, 2), 2);
    EXPECT_EQ(bytes[1], 11);
    ASSERT_TRUE(first->seekTo(0, false));
    ASSERT_EQ(first->readBytes(bytes, 1), 1);
    ASSERT_EQ(second->readBytes(bytes + 1, 1), 1);
    EXPECT_EQ(bytes[0], 100);
    EXPECT_EQ(bytes[1], 12);
}

// Slices read their source by position, so that readers of one source on several threads
// never meet at its position: each kind of source answers such reads without moving it.
TEST(FileSliceTest, ReadsByPositionLeaveEverySourcesPosition) {
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes += char(i);
    }
    std::ofstream(folder.path() / "source.bin", std::ios::binary) << bytes;
    CRefPointer<CVirtualFile> virtualFile(new CVirtualFile(u"virtual", 64));
    virtualFile->writeBytes(bytes.data(), 200);
    const CRefPointer<IInputFile> sources[] = {
        makeSource(), createDiskInputFile(folder.wide("source.bin")), virtualFile,
        createFileSlice(u"whole", makeSource().get(), 0, 200)};
    for (const CRefPointer<IInputFile>& source : sources) {
        ASSERT_TRUE(source);
        const std::string name = utf16ToUtf8(source->getName().c_str()).c_str();
        ASSERT_TRUE(source->seekTo(7, false)) << name;
        uint8_t got[8] = {};
        EXPECT_EQ(source->readBytesAt(196, got, 8), 4) << name;
        EXPECT_EQ(got[0], 196) << name;
        EXPECT_EQ(got[3], 199) << name;
        EXPECT_EQ(source->readBytesAt(200, got, 8), 0) << name;
        EXPECT_EQ(source->getPosition(), 7) << name;
        ASSERT_EQ(source->readBytes(got, 1), 1) << name;
        EXPECT_EQ(got[0], 7) << name;
        const CRefPointer<IInputFile> slice = createFileSlice(u"s", source.get(), 100, 50);
        ASSERT_TRUE(slice->seekTo(45, false));
        EXPECT_EQ(slice->readBytes(got, 8), 5) << name;
        EXPECT_EQ(got[0], 145) << name;
        EXPECT_EQ(source->getPosition(), 8) << name;
    }
}

TEST(FileSliceTest, WindowFromUntrustedHeadersIsClampedToTheSource) {
    struct Case {
        int32_t offset;
        int32_t size;
        int32_t length;
        int firstByte; // -1: nothing to read
    };
    const Case cases[] = {
        {100, 50, 50, 100},
        {190, 50, 10, 190},
        {250, 10, 0, -1},
        {-5, 10, 10, 0},
        {100, -1, 0, -1},
        {100, INT32_MAX, 100, 100},
        {INT32_MAX, INT32_MAX, 0, -1},
        {INT32_MIN, INT32_MIN, 0, -1},
        {0, 200, 200, 0},
    };
    CRefPointer<IInputFile> source = makeSource();
    for (const Case& c : cases) {
        CRefPointer<IInputFile> slice = createFileSlice(u"s", source.get(), c.offset, c.size);
        uint8_t byte = 0;
        const int32_t got = slice->readBytes(&byte, 1);
        EXPECT_EQ(slice->getLength(), c.length) << c.offset << "+" << c.size;
        EXPECT_EQ(got, c.firstByte < 0 ? 0 : 1) << c.offset << "+" << c.size;
        if (c.firstByte >= 0) {
            EXPECT_EQ(byte, c.firstByte) << c.offset << "+" << c.size;
        }
    }
}

TEST(FileSliceTest, HoldsItsOwnReferenceToTheSource) {
    CRefPointer<IInputFile> source = makeSource();
    IInputFile* raw = source.get();
    CRefPointer<IInputFile> slice = createFileSlice(u"entry", raw, 0, 10);
    EXPECT_EQ(raw->getRefCount(), 2);
    source.reset();
    uint8_t byte = 1;
    ASSERT_EQ(slice->readBytes(&byte, 1), 1);
    EXPECT_EQ(byte, 0);
}

TEST(FileSliceTest, WithoutASourceIsEmpty) {
    CRefPointer<IInputFile> slice = createFileSlice(u"none", nullptr, 10, 10);
    uint8_t byte = 0;
    EXPECT_EQ(slice->getLength(), 0);
    EXPECT_EQ(slice->readBytes(&byte, 1), 0);
    EXPECT_TRUE(slice->seekTo(5, false));
    EXPECT_EQ(slice->getPosition(), 0);
}

} // namespace
