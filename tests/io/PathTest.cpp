#include "engine/io/Path.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/Utf.h"

namespace {

std::string utf8(const CStringW& text) {
    return utf16ToUtf8(text.c_str()).c_str();
}

enum class Fn { Extension, Directory, Root, Relative, Resolve };

struct Case {
    Fn fn;
    const char16_t* base; // only for Relative and Resolve
    const char16_t* path;
    const char16_t* expected;
};

CStringW apply(const Case& c) {
    switch (c.fn) {
    case Fn::Extension:
        return extensionOf(c.path);
    case Fn::Directory:
        return getDirectoryPart(c.path);
    case Fn::Root:
        return getRootPart(c.path);
    case Fn::Relative:
        return makeRelativePath(c.base, c.path);
    case Fn::Resolve:
        return resolveRelativePath(c.base, c.path);
    }
    return CStringW();
}

TEST(PathTest, SplitsAndJoinsPaths) {
    const Case cases[] = {
        {Fn::Extension, nullptr, u"a/b.c/d", u""},
        {Fn::Extension, nullptr, u"a\\b.c\\d", u""},
        {Fn::Extension, nullptr, u"x.PNG", u"PNG"},
        {Fn::Extension, nullptr, u"dir/archive.tar.qca", u"qca"},
        {Fn::Extension, nullptr, u"name.", u""},
        {Fn::Extension, nullptr, u"assets", u""},
        {Fn::Extension, nullptr, u"", u""},

        {Fn::Directory, nullptr, u"/file", u""},
        {Fn::Directory, nullptr, u"D:x", u"D:"},
        {Fn::Directory, nullptr, u"scenes/main\\Menu.qscn", u"scenes/main\\"},
        {Fn::Directory, nullptr, u"/home/x/assets/", u"/home/x/assets/"},
        {Fn::Directory, nullptr, u"file", u""},

        {Fn::Root, nullptr, u"C:\\game", u"C"},
        {Fn::Root, nullptr, u"\\\\server\\share\\dir", u"\\\\server\\share"},
        {Fn::Root, nullptr, u"//server", u"//server"},
        {Fn::Root, nullptr, u"/home/x/assets", u"/"},
        {Fn::Root, nullptr, u"\\home", u"/"},
        {Fn::Root, nullptr, u"/", u"/"},
        {Fn::Root, nullptr, u"scenes/a", u""},
        {Fn::Root, nullptr, u"", u""},

        {Fn::Relative, u"scenes/main/Menu.qscn", u"scenes/images/a.png", u"../images/a.png"},
        {Fn::Relative, u"scenes/", u"scenes/x", u"x"},
        {Fn::Relative, u"scenes\\main\\", u"scenes/main\\sub\\a.png", u"sub/a.png"},
        {Fn::Relative, u"C:\\a\\b", u"D:\\a\\c", u"D:\\a\\c"},
        {Fn::Relative, u"ab/cd/e", u"xy/z", u"../../xy/z"},
        {Fn::Relative, u"", u"a\\b", u"a\\b"},
        {Fn::Relative, u"/home/x/scenes/A.qscn", u"/home/x/images/b.png", u"../images/b.png"},
        {Fn::Relative, u"/home/x/scenes/A.qscn", u"images/b.png", u"images/b.png"},
        {Fn::Relative, u"scenes/A.qscn", u"/home/x/b.png", u"/home/x/b.png"},

        {Fn::Resolve, u"scenes/sub/Level.qscn", u"../images/a.png", u"scenes/images/a.png"},
        {Fn::Resolve, u"scenes/sub/Level.qscn", u"./images/a.png", u"scenes/sub/images/a.png"},
        {Fn::Resolve, u"scenes\\sub\\Level.qscn", u".\\..\\a.png", u"scenes/a.png"},
        {Fn::Resolve, u"scenes/sub/Level.qscn", u"../../../a.png", u"a.png"},
        {Fn::Resolve, u"scenes/sub/Level.qscn", u"x/../y/./a.png", u"scenes/sub/x/../y/./a.png"},
        {Fn::Resolve, u"Level.qscn", u"../a.png", u"../a.png"},
        {Fn::Resolve, u"", u"a.png", u"a.png"},
        {Fn::Resolve, u"scenes/Level.qscn", u"C:\\a.png", u"C:\\a.png"},
        {Fn::Resolve, u"scenes/Level.qscn", u"\\\\srv\\share\\a.png", u"\\\\srv\\share\\a.png"},
        {Fn::Resolve, u"scenes/Level.qscn", u"/home/x/assets/a.png", u"/home/x/assets/a.png"},
        {Fn::Resolve, u"/home/x/Level.qscn", u"../../../a.png", u"/a.png"},
        {Fn::Resolve, u"/Level.qscn", u"a.png", u"/a.png"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8(apply(c)), utf8(c.expected))
            << "function " << int(c.fn) << ", base " << (c.base ? utf8(c.base) : "-") << ", path "
            << utf8(c.path);
    }
}

TEST(PathTest, FullPathJoinsTheWorkingDirectoryAndNormalises) {
    const std::string cwd = std::filesystem::current_path().string();
    struct Full {
        const char16_t* path;
        std::string expected;
    };
    const Full cases[] = {
        {u"/home/x/assets", "/home/x/assets"},
        {u"/home//x/./assets/../save/", "/home/x/save/"},
        {u"\\home\\x\\..\\..\\..\\y", "/y"},
        {u"/", "/"},
        {u"assets", cwd + "/assets"},
        {u"./missing\\deeper/..", cwd + "/missing"},
        {u"", ""},
    };
    const std::string before = cwd;
    for (const Full& c : cases) {
        EXPECT_EQ(utf8(getFullPath(c.path)), c.expected) << utf8(c.path);
    }
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_EQ(utf8(currentDirectory()), cwd);
}

TEST(PathTest, DiskPathsAreUtf8WithSlashes) {
    EXPECT_STREQ(toDiskPath(u"a\\b/\u00fc\\\U0001F483").c_str(), "a/b/\xC3\xBC/\xF0\x9F\x92\x83");
}

} // namespace
