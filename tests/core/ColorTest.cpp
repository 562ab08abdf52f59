#include "engine/core/Color.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ColorTest, ChannelsPackLowBytes) {
    EXPECT_EQ(CColor(0xFF, 0x12, 0x34, 0x56).value, 0xFF123456u);
    EXPECT_EQ(CColor(0x1FF, 0x312, 0x434, 0x556).value, 0xFF123456u);
    const CColor color(0x80402010);
    EXPECT_EQ(color.getAlpha(), 0x80u);
    EXPECT_EQ(color.getRed(), 0x40u);
    EXPECT_EQ(color.getGreen(), 0x20u);
    EXPECT_EQ(color.getBlue(), 0x10u);
}

TEST(ColorTest, InterpolateWeighsThisByT) {
    const CColor from(0xFF00FF10);
    const CColor to(0x00FF0020);
    EXPECT_EQ(from.interpolate(to, 1), from);
    EXPECT_EQ(from.interpolate(to, 0), to);
    // 127.5 truncates to 127; 0x10 and 0x20 give 24.
    EXPECT_EQ(from.interpolate(to, 0.5f).value, 0x7F7F7F18u);
}

TEST(ColorTest, ModulateByOpaqueWhiteKeepsEveryChannel) {
    const CColor white(0xFFFFFFFF);
    for (uint32_t c = 0; c < 256; ++c) {
        const CColor color(c, 255 - c, c / 2, c ^ 0x5A);
        EXPECT_EQ(color.modulate(white), color) << c;
        EXPECT_EQ(white.modulate(color), color) << c;
    }
    // 128 × 128 / 255 = 64.25.
    EXPECT_EQ(CColor(0x80808080).modulate(CColor(0x80FF0080)).value, 0x40800040u);
    EXPECT_EQ(CColor(0x12345678).modulate(CColor()).value, 0u);
}

TEST(ColorTest, FloatColorSaturatesEachChannel) {
    struct Case {
        CColorf color;
        uint32_t argb;
    };
    const Case cases[] = {
        {{1, 0.5f, 0, 1}, 0xFFFF7F00},
        // A channel past 1 stays full rather than wrapping (1.2 × 255 = 306 would wrap to 50);
        // one below 0 stays empty.
        {{1.2f, -0.5f, 0, 1}, 0xFFFF0000},
        {{NAN, 1e30f, -INFINITY, 1}, 0xFF00FF00},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.color.toColor().value, c.argb) << std::hex << c.argb;
}

TEST(ColorTest, FloatColorFromArgbRoundTrips) {
    const CColorf color = floatColorFromArgb(CColor(0x80FF0040));
    EXPECT_FLOAT_EQ(color.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(color.r, 1.0f);
    EXPECT_FLOAT_EQ(color.g, 0.0f);
    EXPECT_FLOAT_EQ(color.b, 64.0f / 255.0f);
    for (uint32_t c = 0; c < 256; ++c) {
        const CColor argb(c, 255 - c, c / 2, c ^ 0x5A);
        EXPECT_EQ(floatColorFromArgb(argb).toColor(), argb) << c;
    }
}

} // namespace
