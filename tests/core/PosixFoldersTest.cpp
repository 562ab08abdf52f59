#include "engine/core/PosixFolders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class PosixFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "posix_folders_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }

    std::string root;
};

TEST_F(PosixFoldersTest, MakesEveryMissingParent) {
    const std::string deep = root + "/a/b/c";
    EXPECT_FALSE(folderExists(deep.c_str()));
    EXPECT_TRUE(makeFolders(deep.c_str()));
    EXPECT_TRUE(folderExists((root + "/a").c_str()));
    EXPECT_TRUE(folderExists(deep.c_str()));
    // Existing folders, doubled and trailing separators.
    EXPECT_TRUE(makeFolders(deep.c_str()));
    EXPECT_TRUE(makeFolders((root + "//a//d///e/").c_str()));
    EXPECT_TRUE(folderExists((root + "/a/d/e").c_str()));
}

TEST_F(PosixFoldersTest, FilesAreNotFolders) {
    const std::string file = root + "/file";
    std::fclose(std::fopen(file.c_str(), "w"));
    EXPECT_FALSE(folderExists(file.c_str()));
    EXPECT_FALSE(makeFolders(file.c_str()));
    EXPECT_FALSE(makeFolders((file + "/below").c_str()));
    EXPECT_FALSE(folderExists(nullptr));
    EXPECT_FALSE(makeFolders(nullptr));
    EXPECT_FALSE(makeFolders(""));
}

} // namespace
