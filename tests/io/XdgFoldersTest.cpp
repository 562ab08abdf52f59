#include "engine/io/XdgFolders.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/core/Utf.h"
#include "io/ScopedEnvironment.h"

namespace {

std::string utf8(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

} // namespace

TEST(XdgFoldersTest, VariablesWinWhenAbsoluteElseTheHomeFolderGivesTheDefault) {
    struct Case {
        const char* variable; // null: unset
        const char* home;
        const char* data;
        const char* state;
    };
    const Case cases[] = {
        {"/x/data", "/home/p", "/x/data", "/x/data"},
        {"/x/data///", "/home/p", "/x/data", "/x/data"},
        {"relative/data", "/home/p", "/home/p/.local/share", "/home/p/.local/state"},
        {"", "/home/p/", "/home/p/.local/share", "/home/p/.local/state"},
        {nullptr, "/home/p", "/home/p/.local/share", "/home/p/.local/state"},
        {nullptr, "/", "/.local/share", "/.local/state"},
        {"/", "/home/p", "/", "/"},
    };
    for (const Case& c : cases) {
        ScopedEnvironment home("HOME", c.home);
        ScopedEnvironment data("XDG_DATA_HOME", c.variable);
        ScopedEnvironment state("XDG_STATE_HOME", c.variable);
        EXPECT_EQ(utf8(xdgDataHome()), c.data) << c.home;
        EXPECT_EQ(utf8(xdgStateHome()), c.state) << c.home;
    }
}

TEST(XdgFoldersTest, RelativeHomeFallsBackToTheAccount) {
    ScopedEnvironment home("HOME", "not/absolute");
    ScopedEnvironment data("XDG_DATA_HOME", nullptr);
    // The account's home folder comes from the user database.
    const std::string folder = utf8(xdgDataHome());
    if (!folder.empty()) {
        EXPECT_EQ(folder[0], '/');
        EXPECT_TRUE(folder.ends_with("/.local/share")) << folder;
    }
}
