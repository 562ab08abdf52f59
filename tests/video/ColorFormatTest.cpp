#include "engine/video/ColorFormat.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// One sample pixel per format, as its bytes in memory.
struct Sample {
    int32_t format;
    uint8_t bytes[4];
};

const Sample kSamples[] = {
    {COLOR_FORMAT_A1R5G5B5, {0x01, 0xFE}},             // a1, r31, g16, b1
    {COLOR_FORMAT_A4R4G4B4, {0x3C, 0x8F}},             // a8, r15, g3, b12
    {COLOR_FORMAT_R5G6B5, {0x22, 0xFC}},               // r31, g33, b2
    {COLOR_FORMAT_R8G8B8, {0x12, 0x9A, 0xFE}},         // red, green, blue
    {COLOR_FORMAT_A8R8G8B8, {0xFE, 0x9A, 0x12, 0x7F}}, // 0x7F129AFE
};

TEST(ColorFormatTest, BitsPerPixel) {
    const int32_t formats[] = {0, 1, 2, 3, 4, 5, -1};
    const uint32_t bits[] = {16, 16, 16, 24, 32, 0, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(bitsPerPixelOf(formats[i]), bits[i]) << formats[i];
}

TEST(ColorFormatTest, ConvertPixelsEveryPair) {
    // Expected destination bytes for every source and destination format. Pairs without a rule
    // of their own (A4R4G4B4 in or out) go through ARGB.
    struct Case {
        int32_t from;
        int32_t to;
        uint8_t bytes[4];
    };
    const Case cases[] = {
        {0, 0, {0x01, 0xFE}},
        {0, 1, {0x80, 0xFF}},             // via 0xFFFF8408
        {0, 2, {0x01, 0xFC}},             // green5 << 1, alpha dropped
        {0, 3, {248, 128, 8}},            // 5-bit shifted
        {0, 4, {0x08, 0x84, 0xFF, 0xFF}}, // 5-bit expanded
        {1, 0, {0xD8, 0xF8}},
        {1, 1, {0x3C, 0x8F}},
        {1, 2, {0x98, 0xF1}},
        {1, 3, {0xF0, 0x30, 0xC0}},
        {1, 4, {0xC0, 0x30, 0xF0, 0x80}},
        {2, 0, {0x02, 0xFE}}, // green >> 1, alpha set
        {2, 1, {0x81, 0xFF}},
        {2, 2, {0x22, 0xFC}},
        {2, 3, {248, 132, 16}},
        {2, 4, {0x10, 0x84, 0xF8, 0xFF}},
        {3, 0, {0x7F, 0x8A}},
        {3, 1, {0x9F, 0xF1}},
        {3, 2, {0xDF, 0x14}},
        {3, 3, {0x12, 0x9A, 0xFE}},
        {3, 4, {0xFE, 0x9A, 0x12, 0xFF}},
        {4, 0, {0x7F, 0x0A}}, // alpha 0x7F has no top bit
        {4, 1, {0x9F, 0x71}},
        {4, 2, {0xDF, 0x14}},
        {4, 3, {0x12, 0x9A, 0xFE}},
        {4, 4, {0xFE, 0x9A, 0x12, 0x7F}},
    };
    for (const Case& c : cases) {
        uint8_t out[8];
        std::memset(out, 0xAA, sizeof out);
        convertPixels(kSamples[c.from].bytes, c.from, 1, out, c.to);
        const int32_t bytes = bytesPerPixelOf(c.to);
        EXPECT_EQ(0, std::memcmp(out, c.bytes, bytes)) << c.from << " -> " << c.to;
        EXPECT_EQ(out[bytes], 0xAA) << "wrote past the pixel: " << c.from << " -> " << c.to;
    }
}

TEST(ColorFormatTest, ConvertPixelsRunsAndRefusals) {
    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    uint32_t argb[3] = {};
    convertPixels(rgb, COLOR_FORMAT_R8G8B8, 3, argb, COLOR_FORMAT_A8R8G8B8);
    EXPECT_EQ(argb[0], 0xFF010203u);
    EXPECT_EQ(argb[2], 0xFF070809u);

    uint32_t untouched[2] = {0x11111111, 0x22222222};
    convertPixels(rgb, 7, 2, untouched, COLOR_FORMAT_A8R8G8B8);
    convertPixels(rgb, COLOR_FORMAT_R8G8B8, 2, untouched, -1);
    convertPixels(rgb, COLOR_FORMAT_R8G8B8, 0, untouched, COLOR_FORMAT_A8R8G8B8);
    EXPECT_EQ(untouched[0], 0x11111111u);
    EXPECT_EQ(untouched[1], 0x22222222u);
}

} // namespace
