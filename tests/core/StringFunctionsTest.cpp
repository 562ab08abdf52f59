#include "engine/core/StringFunctions.h"

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

enum class Parser { Float, Unsigned, Signed, Hex };

// Runs one parser over the narrow or the wide form of a text; answers the characters read.
template <typename Char>
long parse(Parser parser, const Char* text, double& value) {
    const Char* end = nullptr;
    float f = 0;
    int i = 0;
    uint32_t u = 0;
    if constexpr (std::is_same_v<Char, char>) {
        switch (parser) {
        case Parser::Float:
            end = parseFloat(text, f);
            value = f;
            break;
        case Parser::Unsigned:
            end = parseUnsignedDecimal(text, f);
            value = f;
            break;
        case Parser::Signed:
            end = parseSignedDecimal(text, i);
            value = i;
            break;
        case Parser::Hex:
            end = parseHex(text, u);
            value = u;
            break;
        }
    } else {
        switch (parser) {
        case Parser::Float:
            end = parseFloatW(text, f);
            value = f;
            break;
        case Parser::Unsigned:
            end = parseUnsignedDecimalW(text, f);
            value = f;
            break;
        case Parser::Signed:
            end = parseSignedDecimalW(text, i);
            value = i;
            break;
        case Parser::Hex:
            end = parseHexW(text, u);
            value = u;
            break;
        }
    }
    return end == nullptr ? -1 : long(end - text);
}

std::u16string wide(const CStringW& text) {
    return std::u16string(text.c_str(), text.length());
}

std::vector<int> toVector(const CArray<int>& values) {
    return std::vector<int>(values.begin(), values.end());
}

std::vector<std::string> texts(const CArray<CNameId>& names) {
    std::vector<std::string> result;
    for (const CNameId& name : names)
        result.emplace_back(name.toString().c_str());
    return result;
}

} // namespace

TEST(StringFunctionsTest, NumberParsersValuesAndPositions) {
    const double inf = INFINITY;
    struct Case {
        Parser parser;
        const char* text;
        double value;
        long consumed;
    };
    const Case cases[] = {
        {Parser::Float, "-1.25e2x", -125, 7},
        {Parser::Float, "1.", 1, 2},
        {Parser::Float, "+5", 0, 0},
        {Parser::Float, "-", 0, 1},
        {Parser::Float, ".5;", 0.5, 2},
        {Parser::Float, "3.5E-1", 0.35f, 6},
        {Parser::Float, "1e", 1, 2},
        {Parser::Float, "0.1234567890123456789x", 0.12345678901234567f, 21},
        {Parser::Float, "2.00000000000000000000001", 2, 25},
        {Parser::Float, "0e99999999999", 0, 12},
        {Parser::Float, "1e39", inf, 4},
        {Parser::Float, "1e-99999", 0, 8},
        {Parser::Float, "4294967295", 4294967295.0f, 10},
        {Parser::Unsigned, "999999999999999999999999999999999999999999", inf, 39},
        {Parser::Unsigned, "429496719", 429496719, 9},
        {Parser::Unsigned, "-1", 0, 0},
        {Parser::Signed, "99999999999", 2147483647, 10},
        {Parser::Signed, "-99999999999x", -2147483647, 11},
        {Parser::Signed, "2147483647;", 2147483647, 10},
        {Parser::Signed, "+42", 42, 3},
        {Parser::Signed, "-17;", -17, 3},
        {Parser::Signed, "x", 0, 0},
        {Parser::Hex, "1FFFFFFFF", 4294967295.0, 8},
        {Parser::Hex, "DeadBeefz", 0xDEADBEEF, 8},
        {Parser::Hex, "0x10", 0, 1},
        {Parser::Hex, "fF", 255, 2},
    };
    for (const Case& c : cases) {
        const CStringW wideText(c.text);
        double narrowValue = -1;
        double wideValue = -1;
        EXPECT_EQ(parse(c.parser, c.text, narrowValue), c.consumed) << c.text;
        EXPECT_EQ(parse(c.parser, wideText.c_str(), wideValue), c.consumed) << c.text;
        EXPECT_EQ(narrowValue, wideValue) << c.text;
        if (c.parser == Parser::Float || c.parser == Parser::Unsigned)
            EXPECT_FLOAT_EQ(float(narrowValue), float(c.value)) << c.text;
        else
            EXPECT_EQ(narrowValue, c.value) << c.text;
    }
    for (Parser parser : {Parser::Float, Parser::Unsigned, Parser::Signed, Parser::Hex}) {
        double value = -1;
        EXPECT_EQ(parse(parser, static_cast<const char*>(nullptr), value), -1);
        EXPECT_EQ(value, 0);
    }
}

// Property sets write floats with six decimals and read them back with parseFloat: the text of
// any float must read back as that float, however many digits its whole part has.
TEST(StringFunctionsTest, FloatTextReadsBackAsTheSameFloat) {
    const float values[] = {FLT_MAX,     3.3333344e37f, -1.0e30f, 123456789012.0f,
                            16777216.0f, 4294967296.0f, 0.5f,     -2.25f};
    for (const float value : values) {
        const CString text(value);
        float back = 0;
        parseFloat(text.c_str(), back);
        EXPECT_EQ(back, value) << text.c_str();
    }
}

TEST(StringFunctionsTest, IntLists) {
    struct Case {
        const char* text;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"3;-2, 7.9", {3, -2, 7}},
        {"a-b", {0}},
        {"", {}},
        {"-0.5 .5", {0, 5}},
        {"1e10;-1e10;0e99999", {2147483647, -2147483647 - 1, 0}},
        {"99999999999999999999999999999999999999999", {2147483647, 99}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toVector(parseIntListNarrow(c.text)), c.values) << c.text;
        EXPECT_EQ(toVector(parseIntList(CStringW(c.text).c_str())), c.values) << c.text;
    }
    EXPECT_EQ(parseIntList(nullptr).size(), 0u);

    CArray<int> values;
    EXPECT_STREQ(joinIntList(values).c_str(), "");
    for (int value : {3, -2, 7})
        values.append(value);
    EXPECT_STREQ(joinIntList(values).c_str(), "3;-2;7");
}

TEST(StringFunctionsTest, HexTexts) {
    EXPECT_STREQ(formatHex(0xABCu).c_str(), "00000abc");
    EXPECT_STREQ(formatHex(0xFFFFFFFFu).c_str(), "ffffffff");
    EXPECT_EQ(wide(formatHexW(0x12345678u)), u"12345678");
}

TEST(StringFunctionsTest, SplitAndJoinNames) {
    struct Case {
        const char* text;
        bool skipEmpty;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {" a ; ;b", true, {"a", "b"}},
        {" a ; ;b", false, {"a", "", "b"}},
        {"", false, {""}},
        {"", true, {}},
        {"x;", false, {"x", ""}},
        {"Idle;idle", true, {"Idle", "idle"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(texts(splitNameIds(c.text, c.skipEmpty)), c.names) << c.text;
    }
    const CArray<CNameId> names = splitNameIds("a;;b", false);
    EXPECT_EQ(names[1].getId(), -1);
    EXPECT_EQ(wide(joinNameIds(names)), u"a;;b");
    EXPECT_EQ(wide(joinNameIds(CArray<CNameId>())), u"");
}

TEST(StringFunctionsTest, DisplayTexts) {
    struct GroupCase {
        int value;
        const char16_t* expected;
    };
    const GroupCase groups[] = {
        {0, u"0"},
        {123, u"123"},
        {-123, u"-123"},
        {1234, u"1,234"},
        {-1234, u"-1,234"},
        {-12345, u"-12,345"},
        {1000000, u"1,000,000"},
        {2147483647, u"2,147,483,647"},
        {-2147483647 - 1, u"-2,147,483,648"},
    };
    for (const GroupCase& c : groups) {
        EXPECT_EQ(wide(formatGroupedInt(c.value, u',')), c.expected) << c.value;
    }
    EXPECT_EQ(wide(formatGroupedInt(1234567, u' ')), u"1 234 567");

    struct TimeCase {
        uint32_t milliseconds;
        const char16_t* expected;
    };
    const TimeCase times[] = {
        {0, u"00:00"}, {65000, u"01:05"}, {3599999, u"59:59"}, {3600000, u"00:00"}, {999, u"00:00"},
    };
    for (const TimeCase& c : times) {
        EXPECT_EQ(wide(formatMinutesSeconds(c.milliseconds)), c.expected) << c.milliseconds;
    }
}
