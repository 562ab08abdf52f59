#include "engine/io/VirtualFilesReaderQca.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/io/MemoryBlockFile.h"
#include "engine/io/QcaReaderFactory.h"
#include "io/ArchiveFixtures.h"
#include "io/TempFolder.h"

using namespace archive_fixtures;

namespace {

CRefPointer<IVirtualFilesReader> readFixture(const char* name, const char* password) {
    CRefPointer<IInputFile> file = openFixture(name);
    EXPECT_TRUE(file) << name;
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderQca(file.get(), password));
}

std::string contentsOf(IVirtualFilesReader& reader, uint32_t index) {
    CRefPointer<IInputFile> file = reader.openEntryAt(index);
    return file ? readAll(*file) : "<null>";
}

// A file whose bytes past `readable` can no longer be read, as when it is cut while mounted.
class ShrinkingFile : public IInputFile {
public:
    explicit ShrinkingFile(std::string bytes) : m_bytes(std::move(bytes)) {}
    int32_t readBytes(void* buffer, int32_t count) override {
        const int32_t end = std::min<int32_t>(readable, int32_t(m_bytes.size()));
        const int32_t n = std::max(0, std::min(count, end - m_position));
        std::memcpy(buffer, m_bytes.data() + m_position, size_t(n));
        m_position += n;
        return n;
    }
    bool seekTo(int32_t position, bool relative) override {
        m_position = relative ? m_position + position : position;
        return true;
    }
    int32_t getLength() const override { return int32_t(m_bytes.size()); }
    int32_t getPosition() const override { return m_position; }
    const CStringW& getName() const override { return m_name; }

    int32_t readable = INT32_MAX;

private:
    std::string m_bytes;
    int32_t m_position = 0;
    CStringW m_name = u"shrinking.qca";
};

} // namespace

TEST(VirtualFilesReaderQcaTest, OpensEveryEntryWithItsPassword) {
    struct Case {
        const char* fixture;
        const char* password;
    };
    // With "four" the directory at 1001 starts at key position 1, with the 60-character
    // password at 25.
    const Case cases[] = {
        {"plain.qca", ""}, {"plain.qca", nullptr}, {"pw4.qca", "four"}, {"pw60.qca", kPassword60}};
    for (const Case& c : cases) {
        CRefPointer<IVirtualFilesReader> reader = readFixture(c.fixture, c.password);
        ASSERT_EQ(reader->entryCount(), 4u) << c.fixture;
        EXPECT_TRUE(reader->archiveKind() == u"qca");
        EXPECT_TRUE(reader->archivePath() == fixtureName(c.fixture));
        const char16_t* names[] = {u"a.txt", u"empty", u"names/\u0080\u00E9\u00FF",
                                   u"scenes/main.qscn"};
        for (uint32_t i = 0; i < 4; ++i) {
            EXPECT_TRUE(reader->entryAt(i)->name == names[i]) << c.fixture << i;
            EXPECT_EQ(reader->indexOfName(names[i]), int32_t(i)) << c.fixture;
        }
        EXPECT_EQ(contentsOf(*reader, 0), kAlpha) << c.fixture;
        EXPECT_EQ(contentsOf(*reader, 1), "") << c.fixture;
        EXPECT_EQ(contentsOf(*reader, 2), "high") << c.fixture;
        EXPECT_EQ(contentsOf(*reader, 3), kMainScene) << c.fixture;
        CRefPointer<IInputFile> file = reader->openEntry(u"scenes/main.qscn");
        ASSERT_TRUE(file);
        EXPECT_TRUE(file->getName() == u"scenes/main.qscn");
        // Bytes widen without sign here, and lookups are exact.
        for (const char16_t* missing :
             {u"names/\uFF80\uFFE9\uFFFF", u"A.txt", u"scenes\\main.qscn"}) {
            EXPECT_EQ(reader->indexOfName(missing), -1);
            EXPECT_FALSE(reader->openEntry(missing));
        }
        EXPECT_FALSE(reader->openEntryAt(4));
        EXPECT_EQ(reader->entryAt(4), nullptr);
    }
}

TEST(VirtualFilesReaderQcaTest, DuplicateNamesKeepTheirArchiveOrder) {
    CRefPointer<IVirtualFilesReader> reader = readFixture("duplicates.qca", "dup");
    ASSERT_EQ(reader->entryCount(), 3u);
    EXPECT_TRUE(reader->entryAt(0)->name == u"other");
    EXPECT_TRUE(reader->entryAt(1)->name == u"twin");
    EXPECT_TRUE(reader->entryAt(2)->name == u"twin");
    EXPECT_EQ(contentsOf(*reader, 1), "first");
    EXPECT_EQ(contentsOf(*reader, 2), "second");
    const int32_t found = reader->indexOfName(u"twin");
    EXPECT_TRUE(found == 1 || found == 2);
}

TEST(VirtualFilesReaderQcaTest, DamagedArchiveOrWrongPasswordGivesNoEntries) {
    struct Case {
        const char* fixture;
        const char* password;
    };
    const Case cases[] = {
        {"truncated.qca", "four"}, {"wrong-magic.qca", ""}, {"below-header.qca", "pw"},
        {"pw60.qca", "four"},      {"pw4.qca", ""},         {"mixed.zip", nullptr},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        CRefPointer<IVirtualFilesReader> reader = readFixture(c.fixture, c.password);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(reader->entryCount(), 0u) << c.fixture;
        EXPECT_EQ(reader->indexOfName(u"a.txt"), -1) << c.fixture;
        EXPECT_EQ(log, "ERR: Damaged packed archive or wrong password: " +
                           fixturePath(c.fixture).string() + "\r\n");
    }
}

// The intact entries stay reachable; only the one whose data lies past the end fails.
TEST(VirtualFilesReaderQcaTest, EntryPastTheEndIsListedAndFailsOnlyWhenOpened) {
    CRefPointer<IVirtualFilesReader> reader = readFixture("past-end.qca", "pw");
    ASSERT_EQ(reader->entryCount(), 3u);
    EXPECT_EQ(contentsOf(*reader, uint32_t(reader->indexOfName(u"good"))), "good data");
    EXPECT_EQ(contentsOf(*reader, uint32_t(reader->indexOfName(u"next"))), "more");
    ASSERT_NE(reader->indexOfName(u"past"), -1);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reader->openEntry(u"past"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERR: Packed archive entry could not be read: past\r\n");
}

TEST(VirtualFilesReaderQcaTest, EntryThatCannotBeReadOpensAsNullWithALogLine) {
    CRefPointer<IInputFile> disk = openFixture("plain.qca");
    std::string bytes = readAll(*disk);
    CRefPointer<ShrinkingFile> file(new ShrinkingFile(bytes));
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderQca(file.get(), nullptr));
    ASSERT_EQ(reader->entryCount(), 4u);
    file->readable = 500; // the data of scenes/main.qscn starts at 16 and ends at 516
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reader->openEntryAt(3));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERR: Packed archive entry could not be read: scenes/main.qscn\r\n");
    CRefPointer<IVirtualFilesReader> none(new CVirtualFilesReaderQca(nullptr, "x"));
    EXPECT_EQ(none->entryCount(), 0u);
}

TEST(VirtualFilesReaderQcaTest, FolderPackedByTheToolOpens) {
    if (std::system("python3 -c '' 2>/dev/null") != 0) {
        GTEST_SKIP() << "python3 is needed to run tools/make-qca.py";
    }
    TempFolder temp;
    const std::filesystem::path folder = temp.path() / "assets";
    std::filesystem::create_directories(folder / "x" / "y");
    std::ofstream(folder / "x" / "y" / "z.txt") << "deep";
    std::ofstream(folder / "b.bin", std::ios::binary) << counting(256);
    std::ofstream(folder / "empty.dat");
    const std::filesystem::path tool =
        std::filesystem::path(VANTOR_SOURCE_DIR) / "tools" / "make-qca.py";
    const char* password = "Velmora-test-password-0123456789-abcdefghijklmnopqrstuvwxyzA";
    const std::string command = "python3 '" + tool.string() + "' --password '" + password + "' '" +
                                (temp.path() / "assets.qca").string() + "' '" + folder.string() +
                                "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    CRefPointer<IInputFile> file = createDiskInputFile(temp.wide("assets.qca"));
    ASSERT_TRUE(file);
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderQca(file.get(), password));
    ASSERT_EQ(reader->entryCount(), 3u);
    EXPECT_EQ(contentsOf(*reader, uint32_t(reader->indexOfName(u"b.bin"))), counting(256));
    EXPECT_EQ(contentsOf(*reader, uint32_t(reader->indexOfName(u"empty.dat"))), "");
    EXPECT_EQ(contentsOf(*reader, uint32_t(reader->indexOfName(u"x/y/z.txt"))), "deep");
}

TEST(VirtualFilesReaderQcaTest, FactoryRecognisesNamesAndContent) {
    CRefPointer<IVirtualFilesReaderFactory> factory(new CQcaReaderFactory(nullptr));
    struct Case {
        const char16_t* path;
        bool accepted;
    };
    const Case names[] = {{u"assets.qca", true},
                          {u"ASSETS.QcA", true},
                          {u"qca", false},
                          {u"a.qcaz", false},
                          {u"a.qca/b", false}};
    for (const Case& c : names) {
        EXPECT_EQ(factory->acceptsName(c.path), c.accepted);
    }
    struct ContentCase {
        const char* fixture;
        bool accepted;
    };
    const ContentCase contents[] = {{"plain.qca", true},
                                    {"truncated.qca", true},
                                    {"wrong-magic.qca", false},
                                    {"mixed.zip", false}};
    for (const ContentCase& c : contents) {
        CRefPointer<IInputFile> file = openFixture(c.fixture);
        EXPECT_EQ(factory->acceptsContent(file.get()), c.accepted) << c.fixture;
        EXPECT_EQ(file->getPosition(), 0);
    }
    uint8_t shortFile[] = {'Q', 'C', 'A', 0, 16, 0, 0, 0};
    CRefPointer<IInputFile> cut(new CMemoryBlockFile(shortFile, sizeof shortFile, u"s", false));
    EXPECT_FALSE(factory->acceptsContent(cut.get()));
    EXPECT_FALSE(factory->createFromFile(nullptr, "x"));
    CRefPointer<IInputFile> pw4 = openFixture("pw4.qca");
    ASSERT_TRUE(pw4->seekTo(500, false));
    EXPECT_EQ(factory->createFromFile(pw4.get(), "four")->entryCount(), 4u);
}
