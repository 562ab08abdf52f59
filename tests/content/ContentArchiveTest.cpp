#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "content/ContentFiles.h"

using namespace content_files;

namespace {

std::vector<std::string> stagedNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(stagedFolder())) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().lexically_relative(stagedFolder()).generic_string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string diskBytes(const std::string& name) {
    std::ifstream in(std::filesystem::path(stagedFolder()) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(ContentArchiveTest, OpensWithTheGamesPasswordAndHoldsEveryStagedFileUnchanged) {
    const ContentArchive archive;
    std::vector<std::string> names = archive.names();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> staged = stagedNames();
    ASSERT_FALSE(staged.empty());
    EXPECT_EQ(names, staged);
    for (const std::string& name : staged) {
        EXPECT_TRUE(archive.bytes(name) == diskBytes(name)) << name;
    }
}
