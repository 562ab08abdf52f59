#include "engine/io/VirtualFileSystem.h"

#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "engine/core/Utf.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/VirtualFilesReaderFolder.h"
#include "io/ArchiveFixtures.h"
#include "io/ScopedEnvironment.h"
#include "io/TempFolder.h"

using namespace archive_fixtures;

namespace {

void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string readName(IVirtualFileSystem& fileSystem, const CStringW& name) {
    CRefPointer<IInputFile> file = fileSystem.openInputFile(name);
    return file ? readAll(*file) : "<null>";
}

std::string fileBytes(const char* fixture) {
    std::ifstream in(fixturePath(fixture), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

CStringW wide(const std::string& text) {
    return utf8ToUtf16(text.c_str());
}

// Accepts every name and mounts it as a folder.
class AnyNameFactory : public IVirtualFilesReaderFactory {
public:
    using IVirtualFilesReaderFactory::IVirtualFilesReaderFactory;
    bool acceptsContent(IInputFile*) override { return false; }
    bool acceptsName(const CStringW&) override { return true; }
    CRefPointer<IVirtualFilesReader> createFromFile(IInputFile*, const char*) override {
        return nullptr;
    }
    CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path, const char*) override {
        return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderFolder(path));
    }
};

class VirtualFileSystemTest : public testing::Test {
protected:
    VirtualFileSystemTest() : fileSystem(new CVirtualFileSystem) {
        fileSystem->setUserDataFolder(temp.wide("user"));
        fileSystem->setCommonDataFolder(temp.wide("common"));
        fileSystem->setCacheFolder(temp.wide("cache"));
    }

    TempFolder temp;
    CRefPointer<IVirtualFileSystem> fileSystem;
};

} // namespace

TEST_F(VirtualFileSystemTest, LooksOnDiskFirstThenInArchivesInMountOrder) {
    writeFile(temp.path() / "first" / "both.txt", "first");
    writeFile(temp.path() / "second" / "both.txt", "second");
    writeFile(temp.path() / "second" / "only-second.txt", "2");
    // A name that exists in the working directory and in the first archive.
    const std::string onDisk = "vfs-disk-first-" + std::to_string(getpid()) + ".txt";
    writeFile(std::filesystem::current_path() / onDisk, "disk");
    writeFile(temp.path() / "first" / onDisk, "archive");
    IVirtualFilesReader* first = fileSystem->addArchive(temp.wide("first"), nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(fileSystem->addArchive(temp.wide("second"), nullptr), nullptr);
    ASSERT_NE(fileSystem->addArchive(fixtureName("mixed.zip"), nullptr), nullptr);
    struct Case {
        const char* name;
        std::string contents;
    };
    const Case cases[] = {
        {onDisk.c_str(), "disk"}, {"both.txt", "first"}, {"only-second.txt", "2"}, {"B", kTextB},
        {"missing", "<null>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readName(*fileSystem, wide(c.name)), c.contents) << c.name;
    }
    EXPECT_TRUE(fileSystem->fileExists(wide("only-second.txt"), true));
    EXPECT_FALSE(fileSystem->fileExists(wide("only-second.txt"), false));
    EXPECT_TRUE(fileSystem->fileExists(u"B", true));
    EXPECT_TRUE(fileSystem->fileExists(wide(onDisk), false));
    EXPECT_TRUE(fileSystem->fileExists(temp.wide("first"), false));
    EXPECT_FALSE(fileSystem->fileExists(temp.wide("missing"), true));
    EXPECT_FALSE(fileSystem->fileExists(u"", true));
    std::filesystem::remove(std::filesystem::current_path() / onDisk);
    EXPECT_EQ(readName(*fileSystem, wide(onDisk)), "archive");
    fileSystem->removeArchive(first);
    EXPECT_EQ(readName(*fileSystem, u"both.txt"), "second");
}

TEST_F(VirtualFileSystemTest, MountsByNameThenByContentAndLogsWhatNoFactoryReads) {
    std::filesystem::create_directories(temp.path() / "folder");
    std::filesystem::create_directories(temp.path() / "my.data");
    writeFile(temp.path() / "zip.dat", fileBytes("mixed.zip"));
    writeFile(temp.path() / "packed", fileBytes("pw4.qca"));
    writeFile(temp.path() / "junk.qca", "junk");
    writeFile(temp.path() / "junk.bin", "junk");
    writeFile(temp.path() / "folder" / "inner.zip", fileBytes("mixed.zip"));
    struct Case {
        CStringW path;
        const char* password;
        const char16_t* kind; // null: nothing mounts
        uint32_t entries;
    };
    const Case cases[] = {
        {temp.wide("folder"), nullptr, u"mount", 0},
        {fixtureName("mixed.zip"), nullptr, u"zip", 7},
        {fixtureName("pw4.qca"), "four", u"qca", 4},
        {temp.wide("zip.dat"), nullptr, u"zip", 7},
        {temp.wide("packed"), "four", u"qca", 4},
        // Found in the folder mounted above: a zip inside a mounted archive.
        {u"inner.zip", nullptr, u"zip", 7},
        {temp.wide("junk.qca"), nullptr, u"qca", 0},
        {temp.wide("my.data"), nullptr, nullptr, 0},
        {temp.wide("missing.zip"), nullptr, nullptr, 0},
        {temp.wide("junk.bin"), nullptr, nullptr, 0},
    };
    uint32_t mounted = 0;
    for (const Case& c : cases) {
        const std::string path = utf16ToUtf8(c.path.c_str()).c_str();
        testing::internal::CaptureStdout();
        IVirtualFilesReader* reader = fileSystem->addArchive(c.path, c.password);
        const std::string log = testing::internal::GetCapturedStdout();
        if (!c.kind) {
            EXPECT_EQ(reader, nullptr) << path;
            EXPECT_EQ(log, "ERR: Could not create archive for: " + path + "\r\n");
            continue;
        }
        ASSERT_NE(reader, nullptr) << path;
        EXPECT_TRUE(reader->archiveKind() == c.kind) << path;
        EXPECT_EQ(reader->entryCount(), c.entries) << path;
        EXPECT_EQ(fileSystem->getArchive(mounted++), reader) << path;
    }
    EXPECT_EQ(fileSystem->getArchiveCount(), mounted);
    EXPECT_EQ(fileSystem->getArchive(mounted), nullptr);
    // An empty entry of a packed archive exists, and opens as an empty file.
    EXPECT_TRUE(fileSystem->fileExists(u"empty", true));
    EXPECT_EQ(readName(*fileSystem, u"empty"), "");
}

TEST_F(VirtualFileSystemTest, MountsFromAnOpenFileByContent) {
    std::string zip = fileBytes("mixed.zip");
    CRefPointer<IInputFile> file(new CMemoryBlockFile(reinterpret_cast<uint8_t*>(zip.data()),
                                                      int32_t(zip.size()), u"memory.zip", false));
    ASSERT_TRUE(file->seekTo(50, false));
    IVirtualFilesReader* reader = fileSystem->addArchiveFromFile(file.get(), nullptr);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->entryCount(), 7u);
    uint8_t junk[] = "not an archive";
    CRefPointer<IInputFile> bad(new CMemoryBlockFile(junk, sizeof junk, u"junk-memory", false));
    testing::internal::CaptureStdout();
    EXPECT_EQ(fileSystem->addArchiveFromFile(bad.get(), nullptr), nullptr);
    EXPECT_EQ(fileSystem->addArchiveFromFile(nullptr, nullptr), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERR: Could not create archive for: junk-memory\r\n");
    EXPECT_EQ(fileSystem->getArchiveCount(), 1u);
}

TEST_F(VirtualFileSystemTest, RemoveArchiveUnmountsAndReleasesTheReader) {
    IVirtualFilesReader* zip = fileSystem->addArchive(fixtureName("mixed.zip"), nullptr);
    IVirtualFilesReader* qca = fileSystem->addArchive(fixtureName("plain.qca"), nullptr);
    ASSERT_TRUE(zip && qca);
    CRefPointer<IVirtualFilesReader> held = CRefPointer<IVirtualFilesReader>::share(zip);
    EXPECT_EQ(held->getRefCount(), 2);
    fileSystem->removeArchive(zip);
    EXPECT_EQ(held->getRefCount(), 1);
    EXPECT_EQ(fileSystem->getArchiveCount(), 1u);
    EXPECT_EQ(fileSystem->getArchive(0), qca);
    fileSystem->removeArchive(held.get());
    fileSystem->removeArchive(nullptr);
    EXPECT_EQ(fileSystem->getArchiveCount(), 1u);
    EXPECT_FALSE(fileSystem->fileExists(u"B", true));
}

TEST_F(VirtualFileSystemTest, RegisteredFactoriesComeAfterTheBuiltInOnes) {
    fileSystem->registerArchiveFactory(nullptr);
    fileSystem->registerArchiveFactory(
        CRefPointer<IVirtualFilesReaderFactory>(new AnyNameFactory(fileSystem.get())));
    IVirtualFilesReader* zip = fileSystem->addArchive(fixtureName("mixed.zip"), nullptr);
    ASSERT_NE(zip, nullptr);
    EXPECT_TRUE(zip->archiveKind() == u"zip");
    IVirtualFilesReader* other = fileSystem->addArchive(temp.wide("x.custom"), nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->archivePath() == temp.wide("x.custom") + u"/");
}

TEST_F(VirtualFileSystemTest, MemoryFilesWrapTheCallersBytes) {
    EXPECT_FALSE(fileSystem->createMemoryInputFile(nullptr, 4, u"none", false));
    EXPECT_FALSE(fileSystem->createMemoryOutputFile(nullptr, 4, u"none", false));
    uint8_t bytes[4] = {'a', 'b', 'c', 'd'};
    CRefPointer<IOutputFile> out = fileSystem->createMemoryOutputFile(bytes, 4, u"m", false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->writeBytes("xy", 2), 2);
    CRefPointer<IInputFile> in = fileSystem->createMemoryInputFile(bytes, 4, u"m", false);
    ASSERT_TRUE(in);
    EXPECT_EQ(readAll(*in), "xycd");
    EXPECT_TRUE(in->getName() == u"m");
}

TEST_F(VirtualFileSystemTest, DiskFilesAreWrittenRenamedAndRemoved) {
    const CStringW name = temp.wide("out.bin");
    CRefPointer<IOutputFile> out = fileSystem->openOutputFile(name, false);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->writeBytes("abc", 3), 3);
    out.reset();
    CRefPointer<IOutputFile> more = fileSystem->openOutputFile(name, true);
    ASSERT_TRUE(more);
    EXPECT_EQ(more->writeBytes("de", 2), 2);
    more.reset();
    EXPECT_TRUE(fileSystem->renameFile(name, temp.wide("renamed.bin")));
    EXPECT_EQ(readName(*fileSystem, temp.wide("renamed.bin")), "abcde");
    EXPECT_TRUE(fileSystem->removeFile(temp.wide("renamed.bin")));
    EXPECT_FALSE(fileSystem->removeFile(temp.wide("renamed.bin")));
    EXPECT_FALSE(fileSystem->renameFile(name, temp.wide("again.bin")));
    EXPECT_FALSE(fileSystem->openOutputFile(temp.wide("no/such/folder/x"), false));
}

TEST_F(VirtualFileSystemTest, XmlReadersAndWritersGoThroughTheFileSystem) {
    CRefPointer<CXmlTextWriter> writer = fileSystem->openXmlWriter(temp.wide("doc.xml"));
    ASSERT_TRUE(writer);
    writer->writeHeader();
    writer->openElement(u"Root", true, u"Value", u"7");
    writer.reset();
    CRefPointer<CXmlTextReader> reader = fileSystem->openXmlReader(temp.wide("doc.xml"));
    ASSERT_TRUE(reader);
    bool found = false;
    while (!found && reader->readNext()) {
        found = reader->nodeKind() == CXmlTextReader::kElement && reader->nodeName() == u"Root";
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(reader->getAttributeInt(u"Value", 0), 7);
    EXPECT_FALSE(fileSystem->openXmlReader(temp.wide("missing.xml")));
    EXPECT_FALSE(fileSystem->openXmlReader(static_cast<IInputFile*>(nullptr)));
    EXPECT_FALSE(fileSystem->openXmlWriter(temp.wide("no/such/folder/x.xml")));
    // A writer over no file exists and writes nothing.
    EXPECT_TRUE(fileSystem->openXmlWriter(CRefPointer<IOutputFile>()));
}

TEST_F(VirtualFileSystemTest, UniqueFileNameSkipsNamesThatExist) {
    auto sixDigits = [](uint32_t value) {
        char text[8];
        std::snprintf(text, sizeof text, "%06u", value % 999999);
        return std::string(text);
    };
    CRandom probe;
    probe.seed(7);
    const std::string taken = "shot" + sixDigits(probe.next());
    const std::string free = "shot" + sixDigits(probe.next());
    writeFile(temp.path() / taken, "");
    CRefPointer<CRandom> random(new CRandom);
    random->seed(7);
    fileSystem->setRandom(random);
    const CStringW name = fileSystem->makeUniqueFileName(temp.wide(), u"shot");
    EXPECT_EQ(utf16ToUtf8(name.c_str()).c_str(), free);
}

TEST_F(VirtualFileSystemTest, DataFoldersSetThroughTheSettersAreAnsweredAsTheyAre) {
    EXPECT_TRUE(fileSystem->getUserDataFolder() == temp.wide("user"));
    EXPECT_TRUE(fileSystem->getCommonDataFolder() == temp.wide("common"));
    EXPECT_TRUE(fileSystem->getCacheFolder() == temp.wide("cache"));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "user"));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "common"));
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "cache"));
}

TEST(VirtualFileSystemFoldersTest, DataFoldersAreMadeBelowTheXdgFolders) {
    TempFolder temp;
    ScopedEnvironment data("XDG_DATA_HOME", (temp.path() / "data").c_str());
    ScopedEnvironment state("XDG_STATE_HOME", (temp.path() / "state").c_str());
    CRefPointer<IVirtualFileSystem> fileSystem(new CVirtualFileSystem);
    // Without the publisher and title names there is no folder to write to.
    EXPECT_TRUE(fileSystem->getUserDataFolder().isEmpty());
    EXPECT_TRUE(fileSystem->getCommonDataFolder().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "data"));
    fileSystem->setDataFolderNames(u"QuorvaneTessmark", u"Velmora");
    EXPECT_TRUE(fileSystem->getUserDataFolder() == temp.wide("data/QuorvaneTessmark/Velmora"));
    EXPECT_TRUE(fileSystem->getCommonDataFolder() == temp.wide("state/QuorvaneTessmark/Velmora"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "data/QuorvaneTessmark/Velmora"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "state/QuorvaneTessmark/Velmora"));
    // A base folder that cannot be made gives no folder either.
    writeFile(temp.path() / "plain-file", "");
    ScopedEnvironment blocked("XDG_DATA_HOME", (temp.path() / "plain-file").c_str());
    EXPECT_TRUE(fileSystem->getUserDataFolder().isEmpty());
}

TEST(VirtualFileSystemFoldersTest, CacheFolderIsMadeInTheWorkingDirectory) {
    CRefPointer<IVirtualFileSystem> fileSystem(new CVirtualFileSystem);
    EXPECT_TRUE(fileSystem->getCacheFolder() == u"cache");
    EXPECT_TRUE(fileSystem->getCacheFolder() == u"cache");
    EXPECT_TRUE(std::filesystem::is_directory("cache"));
}
