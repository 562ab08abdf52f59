#include "engine/io/VirtualFilesReaderZip.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/io/MemoryBlockFile.h"
#include "engine/io/ZipReaderFactory.h"
#include "io/ArchiveFixtures.h"

using namespace archive_fixtures;

namespace {

CRefPointer<IVirtualFilesReader> readFixture(const char* name) {
    CRefPointer<IInputFile> file = openFixture(name);
    EXPECT_TRUE(file) << name;
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderZip(file.get()));
}

struct Expected {
    const char16_t* name;
    std::string contents;
};

// Every listed entry opens by name with its contents, and the entries are in this order.
void expectEntries(IVirtualFilesReader& reader, const Expected* expected, size_t count) {
    ASSERT_EQ(reader.entryCount(), count);
    for (size_t i = 0; i < count; ++i) {
        const Expected& e = expected[i];
        EXPECT_TRUE(reader.entryAt(uint32_t(i))->name == e.name) << i;
        CRefPointer<IInputFile> file = reader.openEntry(e.name);
        ASSERT_TRUE(file) << i;
        EXPECT_EQ(file->getLength(), int32_t(e.contents.size())) << i;
        EXPECT_EQ(readAll(*file), e.contents) << i;
        EXPECT_TRUE(file->getName() == e.name) << i;
    }
}

} // namespace

TEST(VirtualFilesReaderZipTest, ListsEntriesSortedByExactNameAndOpensThem) {
    CRefPointer<IVirtualFilesReader> reader = readFixture("mixed.zip");
    // Upper-case letters order before lower-case ones; the folder entry opens empty.
    const Expected expected[] = {
        {u"B", kTextB},
        {u"a", "lower a"},
        {u"empty-deflated", ""},
        {u"empty.txt", ""},
        {u"extra.bin", kTextB},
        {u"scenes/", ""},
        {u"scenes/x.png", pixels(300)},
    };
    expectEntries(*reader, expected, std::size(expected));
    EXPECT_TRUE(reader->archiveKind() == u"zip");
    EXPECT_TRUE(reader->archivePath() == fixtureName("mixed.zip"));
    const auto* entry = static_cast<const ZipEntry*>(reader->entryAt(6));
    EXPECT_TRUE(entry->folderPart == u"scenes/");
    EXPECT_TRUE(static_cast<const ZipEntry*>(reader->entryAt(1))->folderPart.isEmpty());
    for (const char16_t* missing : {u"A", u"scenes\\x.png", u"scenes", u"", u"zzz"}) {
        EXPECT_EQ(reader->indexOfName(missing), -1);
        EXPECT_FALSE(reader->openEntry(missing));
    }
    EXPECT_FALSE(reader->openEntryAt(7));
    EXPECT_EQ(reader->entryAt(7), nullptr);
}

TEST(VirtualFilesReaderZipTest, DataDescriptorEntriesTakeTheirSizesFromTheDirectory) {
    const Expected written[] = {
        {u"first.txt", kFirst},
        {u"second.bin", counting(64)},
        {u"third.txt", kThird},
    };
    expectEntries(*readFixture("descriptor.zip"), written, std::size(written));
    const Expected streamed[] = {{u"readme.txt", kReadme}};
    expectEntries(*readFixture("zip-tool-stream.zip"), streamed, std::size(streamed));
}

TEST(VirtualFilesReaderZipTest, NameLongerThanTheFirstReadOfAHeader) {
    const CStringW longName = CStringW(u"folder/") + CStringW(std::u16string(300, u'n').c_str());
    const Expected expected[] = {{longName.c_str(), "long"}, {u"next", "after"}};
    expectEntries(*readFixture("long-name.zip"), expected, std::size(expected));
}

TEST(VirtualFilesReaderZipTest, DataDescriptorWithoutDirectoryStopsTheScanWithALogLine) {
    testing::internal::CaptureStdout();
    CRefPointer<IVirtualFilesReader> reader = readFixture("descriptor-no-directory.zip");
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(reader->entryCount(), 0u);
    EXPECT_NE(log.find("ERR: Zip entry has no sizes, reading of the archive stops at: first.txt"),
              std::string::npos)
        << log;
}

TEST(VirtualFilesReaderZipTest, ArchiveMadeByTheZipToolOpens) {
    std::string noise;
    for (uint32_t i = 0, state = 12345; i < 200; ++i) {
        state = (state * 1103515245u + 12345u) & 0x7FFFFFFF;
        noise += char(state >> 16 & 0xFF);
    }
    const Expected expected[] = {
        {u"readme.txt", kReadme},
        {u"sub/", ""},
        {u"sub/noise.bin", noise},
    };
    expectEntries(*readFixture("zip-tool.zip"), expected, std::size(expected));
}

TEST(VirtualFilesReaderZipTest, NameBytesWidenWithTheirSign) {
    CRefPointer<IVirtualFilesReader> reader = readFixture("name-e9.zip");
    EXPECT_EQ(reader->indexOfName(u"caf\uFFE9.txt"), 0);
    EXPECT_EQ(reader->indexOfName(u"caf\u00E9.txt"), -1);
}

TEST(VirtualFilesReaderZipTest, RefusesDamagedEntriesAndLogsWhy) {
    struct Case {
        const char* fixture;
        const char16_t* entry;
        const char* log; // empty when the entry opens
    };
    const Case cases[] = {
        {"encrypted.zip", u"secret", "Encrypted zip entry is not supported: secret"},
        {"bad-deflate.zip", u"ok", ""},
        {"bad-deflate.zip", u"damaged", "Damaged zip entry (damaged data): damaged"},
        {"bad-deflate.zip", u"cut", "Damaged zip entry (data ends early): cut"},
        {"bad-deflate.zip", u"too-short",
         "Damaged zip entry (shorter than its stated size): too-short"},
        {"bad-deflate.zip", u"too-long",
         "Damaged zip entry (longer than its stated size): too-long"},
        {"bad-deflate.zip", u"huge", "Zip entry states an impossible size: huge"},
        {"bad-deflate.zip", u"bzip2", "File has unsupported compression method: bzip2"},
        {"past-end.zip", u"ok", ""},
        {"past-end.zip", u"past", "Zip entry runs past the end of the archive: past"},
    };
    for (const Case& c : cases) {
        CRefPointer<IVirtualFilesReader> reader = readFixture(c.fixture);
        ASSERT_NE(reader->indexOfName(c.entry), -1) << c.log;
        testing::internal::CaptureStdout();
        CRefPointer<IInputFile> file = reader->openEntry(c.entry);
        const std::string log = testing::internal::GetCapturedStdout();
        if (*c.log == 0) {
            EXPECT_TRUE(file) << c.fixture;
            EXPECT_EQ(log, "") << c.fixture;
        } else {
            EXPECT_FALSE(file) << c.log;
            EXPECT_EQ(log, std::string("ERR: ") + c.log + "\r\n");
        }
    }
}

TEST(VirtualFilesReaderZipTest, FileWithoutLocalHeaderGivesAReaderWithoutEntries) {
    uint8_t bytes[] = {'P', 'K', 3, 4, 0, 0}; // a signature cut short
    CRefPointer<IInputFile> cut(new CMemoryBlockFile(bytes, sizeof bytes, u"d:\\cut.zip", false));
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderZip(cut.get()));
    EXPECT_EQ(reader->entryCount(), 0u);
    EXPECT_EQ(reader->indexOfName(u"x"), -1);
    EXPECT_TRUE(reader->archivePath() == u"d:/cut.zip");
    CRefPointer<IVirtualFilesReader> none(new CVirtualFilesReaderZip(nullptr));
    EXPECT_EQ(none->entryCount(), 0u);
}

TEST(VirtualFilesReaderZipTest, FactoryRecognisesNamesAndContent) {
    CRefPointer<IVirtualFilesReaderFactory> factory(new CZipReaderFactory(nullptr));
    struct Case {
        const char16_t* path;
        bool accepted;
    };
    const Case names[] = {
        {u"a.zip", true}, {u"A.ZIP", true},    {u"x/y.Pk3", true},     {u"a.zipx", false},
        {u"zip", false},  {u"a.zip/b", false}, {u"a.z\u0130p", false},
    };
    for (const Case& c : names) {
        EXPECT_EQ(factory->acceptsName(c.path), c.accepted);
    }
    CRefPointer<IInputFile> zip = openFixture("mixed.zip");
    EXPECT_TRUE(factory->acceptsContent(zip.get()));
    CRefPointer<IInputFile> qca = openFixture("plain.qca");
    EXPECT_FALSE(factory->acceptsContent(qca.get()));
    EXPECT_FALSE(factory->createFromFile(nullptr, nullptr));
    // The factory rewinds the file before reading the headers.
    ASSERT_TRUE(zip->seekTo(100, false));
    EXPECT_EQ(factory->createFromFile(zip.get(), nullptr)->entryCount(), 7u);
}
