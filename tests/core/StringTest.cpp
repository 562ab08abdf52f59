#include "engine/core/String.h"

#include <clocale>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace {

std::u16string wide(const CStringW& text) {
    return std::u16string(text.c_str(), text.length());
}

} // namespace

TEST(StringTest, EmptyStringHoldsOneCharacter) {
    const CString empty;
    EXPECT_EQ(empty.used(), 1u);
    EXPECT_EQ(empty.allocated(), 1u);
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_TRUE(CString::emptyString().isEmpty());
    EXPECT_TRUE(CStringW::emptyString().isEmpty());
}

TEST(StringTest, ShorterAssignmentKeepsTheBuffer) {
    CString text("abc");
    text = "a";
    EXPECT_EQ(text.allocated(), 4u);
    EXPECT_EQ(text.used(), 2u);
    EXPECT_STREQ(text.c_str(), "a");
    text = static_cast<const char*>(nullptr);
    EXPECT_EQ(text.used(), 1u);
    EXPECT_STREQ(text.c_str(), "");
}

TEST(StringTest, AssigningItselfChangesNothing) {
    CString text("hello");
    text = text.c_str();
    const CString& same = text;
    text = same;
    EXPECT_STREQ(text.c_str(), "hello");
    EXPECT_EQ(text.used(), 6u);
    // A tail of its own buffer is copied in place.
    text = text.c_str() + 2;
    EXPECT_STREQ(text.c_str(), "llo");
}

TEST(StringTest, AssignTakesExactlyCountCharacters) {
    const char16_t unterminated[] = {u'x', u'y', u'z'};
    struct Case {
        const char16_t* before;
        const char16_t* text;
        uint32_t count;
        const char16_t* expected;
        uint32_t allocated;
    };
    const Case cases[] = {
        {u"", u"abcdef", 3, u"abc", 4},      {u"longer text", u"abcdef", 3, u"abc", 12},
        {u"ab", unterminated, 3, u"xyz", 4}, {u"ab", u"abcdef", 0, u"", 3},
        {u"ab", nullptr, 5, u"", 3},
    };
    for (const Case& c : cases) {
        CStringW text(c.before);
        text.assign(c.text, c.count);
        EXPECT_EQ(wide(text), c.expected) << c.count;
        EXPECT_EQ(text.used(), std::char_traits<char16_t>::length(c.expected) + 1);
        EXPECT_EQ(text.allocated(), c.allocated) << c.count;
    }
    // Characters of its own buffer are copied in place.
    CStringW text(u"hello");
    text.assign(text.c_str() + 2, 2);
    EXPECT_EQ(wide(text), u"ll");
    EXPECT_EQ(text.allocated(), 6u);
}

TEST(StringTest, AppendingItsOwnTextWhileGrowing) {
    CStringW text(u"ab");
    text.append(text.c_str());
    text.append(text);
    EXPECT_EQ(wide(text), u"abababab");
    EXPECT_EQ(text.allocated(), 9u);
    text.append(static_cast<const char16_t*>(nullptr));
    EXPECT_EQ(text.used(), 9u);
}

TEST(StringTest, WidthConversionsCopyCharacterByCharacter) {
    const CStringW widened("a\xE9");
    EXPECT_EQ(widened[0], u'a');
    EXPECT_EQ(widened[1], char16_t(0xFFE9));
    const CString narrowed(u"\u0141b");
    EXPECT_EQ(narrowed[0], 0x41);
    EXPECT_EQ(narrowed[1], 'b');

    CString assigned;
    assigned = u"x\u01FFy";
    EXPECT_STREQ(assigned.c_str(), "x\xFFy");
    EXPECT_EQ(wide(CStringW(u"w") + "\x80"), std::u16string(u"w\uFF80"));
    EXPECT_STREQ((CString("n") + u"\u0263").c_str(), "nc");
    EXPECT_EQ(wide("ab" + CStringW(u"c")), u"abc");
    EXPECT_EQ(wide(u"ab" + CStringW(u"c")), u"abc");
    EXPECT_STREQ(("ab" + CString("c")).c_str(), "abc");
}

TEST(StringTest, NarrowAndWideOrderings) {
    struct Case {
        const char* left;
        const char* right;
        bool less;
    };
    const Case narrow[] = {
        {"ab", "abc", true},  {"abc", "ab", false},    {"abc", "abd", true}, {"\x80", "A", true},
        {"A", "\x80", false}, {"same", "same", false}, {"", "a", true},      {"a", "", false},
    };
    for (const Case& c : narrow) {
        EXPECT_EQ(CString(c.left) < CString(c.right), c.less) << c.left << " < " << c.right;
    }

    struct WideCase {
        const char16_t* left;
        const char16_t* right;
        bool less;
    };
    const WideCase wideCases[] = {
        {u"z", u"\u00E9", true},
        {u"\u00E9", u"z", false},
        {u"ab", u"abc", true},
        {u"\uFFFF", u"\u0100", false},
    };
    for (const WideCase& c : wideCases) {
        EXPECT_EQ(CStringW(c.left).lessThan(CStringW(c.right)), c.less);
    }
}

TEST(StringTest, Equality) {
    EXPECT_TRUE(CString("abc") == CString("abc"));
    EXPECT_FALSE(CString("abc") == CString("ab"));
    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_FALSE(CString("abc") == "abcd");
    EXPECT_FALSE(CString("") == static_cast<const char*>(nullptr));
    EXPECT_TRUE(CStringW(u"x") == u"x");
}

TEST(StringTest, NumberTexts) {
    struct Case {
        CString text;
        const char* expected;
    };
    const Case cases[] = {
        {CString(0), "0"},
        {CString(-42), "-42"},
        {CString(int(-2147483647 - 1)), "-2147483648"},
        {CString(2147483647), "2147483647"},
        {CString(4294967295u), "4294967295"},
        {CString(1.5f), "1.500000"},
        {CString(-0.25f), "-0.250000"},
        {CString(1e10f), "10000000000.000000"},
        {CString(0.0000004f), "0.000000"},
        {CString("n=").append(7).append(8u).append(0.5f), "n=780.500000"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.text.c_str(), c.expected);
        EXPECT_EQ(c.text.allocated(), c.text.used()) << c.expected;
    }
    EXPECT_EQ(wide(CStringW(-7)), u"-7");
    EXPECT_EQ(wide(CStringW(2.25f)), u"2.250000");
}

TEST(StringTest, FloatTextIgnoresTheProcessLocale) {
    const char* const commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"};
    const char* chosen = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr)
        GTEST_SKIP() << "no comma-decimal locale installed";
    const std::string localeText = std::to_string(1.5);
    const CString narrow(1.5f);
    const CStringW wideText(1.5f);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(localeText, "1,500000") << chosen;
    EXPECT_STREQ(narrow.c_str(), "1.500000");
    EXPECT_EQ(wide(wideText), u"1.500000");
}

TEST(StringTest, ReallocateCutsAndRepairsTheTerminator) {
    CString text("abcdef");
    text.reallocate(3);
    EXPECT_EQ(text.allocated(), 3u);
    EXPECT_EQ(text.used(), 3u);
    EXPECT_STREQ(text.c_str(), "ab");
    text.reallocate(10);
    EXPECT_EQ(text.allocated(), 10u);
    EXPECT_STREQ(text.c_str(), "ab");
    text.reallocate(0);
    EXPECT_EQ(text.used(), 1u);
    EXPECT_STREQ(text.c_str(), "");
}

TEST(StringTest, SubString) {
    struct Case {
        uint32_t index;
        uint32_t count;
        const char16_t* expected;
    };
    const Case cases[] = {
        {2, 10, u"cdef"}, {0, 6, u"abcdef"}, {1, 2, u"bc"}, {6, 1, u""}, {9, 1, u""}, {0, 0, u""},
    };
    const CStringW text(u"abcdef");
    for (const Case& c : cases) {
        const CStringW part = text.subString(c.index, c.count);
        EXPECT_EQ(wide(part), c.expected) << c.index << "," << c.count;
        EXPECT_EQ(part.allocated(), part.used());
    }
}

TEST(StringTest, SubStringFromRunsToTheEnd) {
    const CStringW text(u"abcdef");
    const std::pair<uint32_t, const char16_t*> cases[] = {
        {0, u"abcdef"}, {2, u"cdef"}, {5, u"f"}, {6, u""}, {100, u""}};
    for (const auto& [index, expected] : cases)
        EXPECT_EQ(wide(text.subStringFrom(index)), expected) << index;
}

TEST(StringTest, Trim) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {" \t a b \r\n", "a b"}, {"ab", "ab"}, {" \n\t\r ", ""}, {"", ""}, {"x ", "x"},
    };
    for (const Case& c : cases) {
        CString text(c.text);
        text.trim();
        EXPECT_STREQ(text.c_str(), c.expected);
        EXPECT_EQ(text.used(), std::char_traits<char>::length(c.expected) + 1);
    }
}

TEST(StringTest, WideSearches) {
    const CStringW text(u"a/b\\c/d");
    EXPECT_EQ(text.findFirst(u'/'), 1);
    EXPECT_EQ(text.findFirst(u'\0'), 7);
    EXPECT_EQ(text.findFirst(u'z'), -1);
    EXPECT_EQ(text.findLastOf(u"/\\", 2), 5);
    EXPECT_EQ(text.findLastOf(u"\\", 1), 3);
    EXPECT_EQ(text.findLastOf(nullptr, 2), -1);
    EXPECT_EQ(text.findLast(u'/'), 5);
    EXPECT_EQ(text.findLast(u'/', 4), 1);
    EXPECT_EQ(text.findLast(u'/', 99), 5);
    EXPECT_EQ(text.findLast(u'a', 0), 0);
    EXPECT_EQ(text.find("c/d"), 4);
    EXPECT_EQ(text.find("c/x"), -1);
    EXPECT_EQ(text.find(""), -1);
    EXPECT_EQ(text.find("a/b\\c/d/"), -1);
    EXPECT_EQ(CStringW("\xE9").find("\xE9"), -1);
}

TEST(StringTest, MovedFromStringStaysUsable) {
    CString source("moved text");
    CString target(std::move(source));
    EXPECT_STREQ(target.c_str(), "moved text");
    EXPECT_STREQ(source.c_str(), "");
    source.append("again");
    EXPECT_STREQ(source.c_str(), "again");
    source = std::move(target);
    EXPECT_STREQ(source.c_str(), "moved text");
}

// Strings without a buffer of their own share one zero; writing into a moved-from string must
// not reach it, or every such string would read the write.
template <typename Text>
void writeIntoMovedFromStrings() {
    Text first(u"first");
    const Text taken(std::move(first));
    first.data()[0] = 'x';
    Text second(u"second");
    const Text alsoTaken(std::move(second));
    second[0] = 'y';
    Text third(u"third");
    const Text lastTaken(std::move(third));
    EXPECT_EQ(third.c_str()[0], 0);
    EXPECT_TRUE(third.isEmpty());
}

TEST(StringTest, WritingIntoAMovedFromStringLeavesOthersEmpty) {
    writeIntoMovedFromStrings<CString>();
    writeIntoMovedFromStrings<CStringW>();
}
