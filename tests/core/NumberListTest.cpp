#include "engine/core/NumberList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string widen(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

TEST(NumberListTest, NarrowAndWideTextsReadAlike) {
    struct Case {
        const char* text;
        float values[4];
    };
    const Case cases[] = {
        {"1;0.5;0;1", {1, 0.5f, 0, 1}},
        {"  -1.5 , 2e1 (3) [4]", {-1.5f, 20, 3, 4}},
        // '+' and '.' separate, so ".5" reads as 5.
        {"+5;.5", {5, 5, 0, 0}},
        {"1;-;3", {1, 0, 3, 0}},
        {"1 2 3 4 5", {1, 2, 3, 4}},
        {"x=7", {7, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"none", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        float narrow[4] = {9, 9, 9, 9};
        float wide[4] = {9, 9, 9, 9};
        parseFourFloats(c.text, narrow);
        parseFourFloats(widen(c.text).c_str(), wide);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(narrow[i], c.values[i]) << '"' << c.text << "\" #" << i;
            EXPECT_EQ(wide[i], c.values[i]) << '"' << c.text << "\" #" << i;
        }
    }
}

TEST(NumberListTest, NullTextGivesZeros) {
    float values[2] = {9, 9};
    readNumberList(static_cast<const char*>(nullptr), values, 2);
    EXPECT_EQ(values[0], 0.0f);
    EXPECT_EQ(values[1], 0.0f);
}

} // namespace
