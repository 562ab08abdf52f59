#include "engine/core/Utf.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::u16string wide(const CStringW& text) {
    return std::u16string(text.c_str(), text.length());
}

} // namespace

TEST(UtfTest, WellFormedTextRoundTrips) {
    struct Case {
        const char* utf8;
        const char16_t* utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"plain/path.txt", u"plain/path.txt"},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xE2\x82\xAC 5", u"\u20AC 5"},
        {"\xF0\x9F\x98\x80!", u"\U0001F600!"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"\xEF\xBF\xBD", u"\uFFFD"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(utf16ToUtf8(c.utf16).c_str(), c.utf8);
        EXPECT_EQ(wide(utf8ToUtf16(c.utf8)), c.utf16) << c.utf8;
    }
}

TEST(UtfTest, LoneSurrogatesBecomeReplacementCharacters) {
    const char16_t lowFirst[] = {u'a', 0xDC00, 0xD800, u'b', 0};
    const char16_t highAtEnd[] = {u'a', 0xD83D, 0};
    EXPECT_STREQ(utf16ToUtf8(lowFirst).c_str(), "a\xEF\xBF\xBD\xEF\xBF\xBD"
                                                "b");
    EXPECT_STREQ(utf16ToUtf8(highAtEnd).c_str(), "a\xEF\xBF\xBD");
}

TEST(UtfTest, IllFormedUtf8BecomesReplacementCharacters) {
    struct Case {
        const char* utf8;
        const char16_t* utf16;
    };
    const Case cases[] = {
        {"\xC3", u"\uFFFD"},                               // cut short
        {"\xE2\x82x", u"\uFFFDx"},                         // cut short, one replacement
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"a\x80z\xFF", u"a\uFFFDz\uFFFD"},                 // stray bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wide(utf8ToUtf16(c.utf8)), c.utf16) << c.utf8;
    }
    EXPECT_TRUE(utf8ToUtf16(nullptr).isEmpty());
    EXPECT_TRUE(utf16ToUtf8(nullptr).isEmpty());
}
