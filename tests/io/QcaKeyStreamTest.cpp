#include "engine/io/QcaKeyStream.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The rule spelled out byte by byte.
std::vector<uint8_t> scrambledByRule(std::vector<uint8_t> data, const char* password,
                                     uint32_t keyPosition) {
    const size_t length = std::strlen(password);
    for (size_t i = 0; length > 0 && i < data.size(); ++i) {
        data[i] ^= uint8_t(password[(keyPosition + i) % length]);
    }
    return data;
}

} // namespace

TEST(QcaKeyStreamTest, KeyPositionFollowsTheFilePosition) {
    CQcaKeyStream four("abcd");
    EXPECT_EQ(four.keyLength(), 4u);
    EXPECT_EQ(four.keyPositionOf(16), 0u);
    EXPECT_EQ(four.keyPositionOf(21), 1u);
    EXPECT_EQ(four.keyPositionOf(1001), 1u);
    EXPECT_EQ(CQcaKeyStream("").keyPositionOf(1001), 0u);
    EXPECT_EQ(CQcaKeyStream(nullptr).keyLength(), 0u);
}

TEST(QcaKeyStreamTest, MatchesTheByteRuleAcrossLongRuns) {
    struct Case {
        const char* password;
        uint32_t keyPosition;
        size_t count;
    };
    const Case cases[] = {
        {"abcd", 1, 10},
        {"abcd", 3, 9000},
        {"x", 0, 4097},
        {"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX", 45, 20000},
        {"\x80\xff", 1, 33},
        {"", 0, 100},
        {"abc", 2, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data(c.count);
        for (size_t i = 0; i < data.size(); ++i) {
            data[i] = uint8_t(i * 31 + 7);
        }
        const std::vector<uint8_t> expected = scrambledByRule(data, c.password, c.keyPosition);
        CQcaKeyStream key(c.password);
        key.apply(data.data(), uint32_t(data.size()), c.keyPosition);
        EXPECT_EQ(data, expected) << c.password << " " << c.count;
    }
}
