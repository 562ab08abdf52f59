#include "engine/io/VirtualFilesReaderFolder.h"

#include <fstream>

#include <gtest/gtest.h>

#include "engine/io/FolderReaderFactory.h"
#include "engine/io/Path.h"
#include "io/ArchiveFixtures.h"
#include "io/TempFolder.h"

using archive_fixtures::readAll;

TEST(VirtualFilesReaderFolderTest, RootUsesSlashesAndEndsInOne) {
    struct Case {
        const char16_t* folder;
        const char16_t* root;
    };
    const Case cases[] = {{u"C:\\games\\assets", u"C:/games/assets/"},
                          {u"/srv/assets/", u"/srv/assets/"},
                          {u"", u""}};
    for (const Case& c : cases) {
        CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderFolder(c.folder));
        EXPECT_TRUE(reader->archivePath() == c.root);
        EXPECT_TRUE(reader->archiveKind() == u"mount");
    }
}

TEST(VirtualFilesReaderFolderTest, OpensFilesBelowTheRootUnderTheirRequestedName) {
    TempFolder temp;
    std::filesystem::create_directories(temp.path() / "scenes" / "sub");
    std::ofstream(temp.path() / "scenes" / "x.txt") << "scene text";
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderFolder(temp.wide()));
    CRefPointer<IInputFile> file = reader->openEntry(u"scenes/x.txt");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->getName() == u"scenes/x.txt");
    EXPECT_EQ(readAll(*file), "scene text");
    EXPECT_EQ(reader->indexOfName(u"scenes/x.txt"), 1);
    // Folders and missing files do not open; a folder cannot be listed.
    for (const char16_t* missing : {u"scenes/sub", u"scenes/y.txt", u""}) {
        EXPECT_EQ(reader->indexOfName(missing), -1);
        EXPECT_FALSE(reader->openEntry(missing));
    }
    EXPECT_EQ(reader->entryCount(), 0u);
    EXPECT_EQ(reader->entryAt(0), nullptr);
    EXPECT_FALSE(reader->openEntryAt(0));
}

// A name never leaves the mounted folder: no ".." step, and no root at all for an empty folder
// (it would otherwise be the disk's root).
TEST(VirtualFilesReaderFolderTest, NamesNeverLeaveTheFolder) {
    TempFolder temp;
    std::filesystem::create_directories(temp.path() / "assets" / "sub");
    std::ofstream(temp.path() / "outside.txt") << "outside";
    std::ofstream(temp.path() / "assets" / "sub" / "..x") << "inside";
    CRefPointer<IVirtualFilesReader> reader(new CVirtualFilesReaderFolder(temp.wide("assets")));
    for (const char16_t* name : {u"../outside.txt", u"..\\outside.txt", u"sub/../../outside.txt",
                                 u"sub\\..\\..\\outside.txt"}) {
        EXPECT_FALSE(reader->openEntry(name)) << utf16ToUtf8(name).c_str();
        EXPECT_EQ(reader->indexOfName(name), -1);
    }
    EXPECT_TRUE(reader->openEntry(u"sub/..x"));

    const std::string absolute = (temp.path() / "outside.txt").string();
    CRefPointer<IVirtualFilesReader> rootless(new CVirtualFilesReaderFolder(u""));
    EXPECT_FALSE(rootless->openEntry(utf8ToUtf16(absolute.c_str() + 1)));
}

TEST(VirtualFilesReaderFolderTest, FactoryMountsExistingFoldersWithoutAnExtension) {
    TempFolder temp;
    std::filesystem::create_directories(temp.path() / "assets");
    std::filesystem::create_directories(temp.path() / "my.data");
    std::ofstream(temp.path() / "file") << "not a folder";
    CRefPointer<IVirtualFilesReaderFactory> factory(new CFolderReaderFactory(nullptr));
    EXPECT_TRUE(factory->acceptsName(temp.wide("assets")));
    EXPECT_FALSE(factory->acceptsName(temp.wide("my.data")));
    const CStringW before = currentDirectory();
    CRefPointer<IVirtualFilesReader> reader = factory->createFromPath(temp.wide("assets"), "pw");
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->archivePath() == temp.wide("assets") + u"/");
    CRefPointer<IVirtualFilesReader> here = factory->createFromPath(u".", nullptr);
    ASSERT_TRUE(here);
    EXPECT_TRUE(here->archivePath() == before + u"/");
    EXPECT_TRUE(currentDirectory() == before);
    EXPECT_FALSE(factory->createFromPath(temp.wide("file"), nullptr));
    EXPECT_FALSE(factory->createFromPath(temp.wide("missing"), nullptr));
    CRefPointer<IInputFile> file = createDiskInputFile(temp.wide("file"));
    EXPECT_FALSE(factory->acceptsContent(file.get()));
    EXPECT_FALSE(factory->createFromFile(file.get(), nullptr));
}
