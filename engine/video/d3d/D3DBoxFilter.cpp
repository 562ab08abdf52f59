#include "engine/video/d3d/D3DBoxFilter.h"

#include "engine/video/ColorFormat.h"

namespace {

struct Channels {
    uint32_t a = 0;
    uint32_t r = 0;
    uint32_t g = 0;
    uint32_t b = 0;
};

Channels channelsOfArgb(uint32_t color) {
    return {color >> 24, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF};
}

// 8-bit channels of a 16-bit pixel: R5G6B5 shifted up, A1R5G5B5 with the top bits repeated.
Channels channelsOf16(uint16_t pixel, bool a1r5g5b5) {
    if (a1r5g5b5)
        return channelsOfArgb(argbFromA1R5G5B5(pixel));
    return {0xFF, uint32_t(pixel >> 11) << 3, uint32_t((pixel >> 5) & 0x3F) << 2,
            uint32_t(pixel & 0x1F) << 3};
}

uint16_t pixel16Of(const Channels& c, bool a1r5g5b5) {
    if (a1r5g5b5)
        return uint16_t((c.a & 0x80) << 8 | (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3);
    return uint16_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3);
}

// The 2 x 2 upper pixels under lower pixel (x, y), as offsets of their first bytes; the second
// column or row falls back onto the first at a one-pixel edge.
template <typename Fn>
void forEachBlock(const MipLevelView& upper, const MipLevelView& lower, uint32_t bytesPerPixel,
                  Fn fn) {
    for (uint32_t y = 0; y < lower.height; ++y) {
        const uint32_t y0 = y * 2 < upper.height ? y * 2 : upper.height - 1;
        const uint32_t y1 = y0 + 1 < upper.height ? y0 + 1 : y0;
        for (uint32_t x = 0; x < lower.width; ++x) {
            const uint32_t x0 = x * 2 < upper.width ? x * 2 : upper.width - 1;
            const uint32_t x1 = x0 + 1 < upper.width ? x0 + 1 : x0;
            const uint8_t* row0 = upper.bits + size_t(y0) * size_t(upper.pitch);
            const uint8_t* row1 = upper.bits + size_t(y1) * size_t(upper.pitch);
            const uint8_t* block[4] = {row0 + x0 * bytesPerPixel, row0 + x1 * bytesPerPixel,
                                       row1 + x0 * bytesPerPixel, row1 + x1 * bytesPerPixel};
            fn(block, lower.bits + size_t(y) * size_t(lower.pitch) + x * bytesPerPixel);
        }
    }
}

Channels average(const Channels (&pixels)[4]) {
    Channels sum;
    for (const Channels& p : pixels) {
        sum.a += p.a;
        sum.r += p.r;
        sum.g += p.g;
        sum.b += p.b;
    }
    return {sum.a / 4, sum.r / 4, sum.g / 4, sum.b / 4};
}

} // namespace

void boxFilterA8R8G8B8(const MipLevelView& upper, const MipLevelView& lower) {
    forEachBlock(upper, lower, 4, [](const uint8_t* const(&block)[4], uint8_t* out) {
        Channels pixels[4];
        for (int i = 0; i < 4; ++i)
            pixels[i] = channelsOfArgb(loadPixel32(block[i]));
        const Channels c = average(pixels);
        storePixel32(out, c.a << 24 | c.r << 16 | c.g << 8 | c.b);
    });
}

void boxFilter16(const MipLevelView& upper, const MipLevelView& lower, bool a1r5g5b5) {
    forEachBlock(upper, lower, 2, [a1r5g5b5](const uint8_t* const(&block)[4], uint8_t* out) {
        Channels pixels[4];
        for (int i = 0; i < 4; ++i)
            pixels[i] = channelsOf16(loadPixel16(block[i]), a1r5g5b5);
        storePixel16(out, pixel16Of(average(pixels), a1r5g5b5));
    });
}

void boxFilterA1R5G5B5Fields(const MipLevelView& upper, const MipLevelView& lower) {
    forEachBlock(upper, lower, 2, [](const uint8_t* const(&block)[4], uint8_t* out) {
        uint32_t red = 0;
        uint32_t green = 0;
        uint32_t blue = 0;
        uint32_t alpha = 0x8000;
        for (const uint8_t* pixel : block) {
            const uint32_t value = loadPixel16(pixel);
            red += (value >> 10) & 0x1F;
            green += (value >> 5) & 0x1F;
            blue += value & 0x1F;
            alpha &= value;
        }
        storePixel16(out, uint16_t(alpha | (red / 4) << 10 | (green / 4) << 5 | blue / 4));
    });
}

void boxFilterA4R4G4B4(const MipLevelView& upper, const MipLevelView& lower) {
    forEachBlock(upper, lower, 2, [](const uint8_t* const(&block)[4], uint8_t* out) {
        uint32_t sums[4] = {};
        for (const uint8_t* pixel : block) {
            const uint32_t value = loadPixel16(pixel);
            for (uint32_t field = 0; field < 4; ++field)
                sums[field] += (value >> (field * 4)) & 0xF;
        }
        uint32_t result = 0;
        for (uint32_t field = 0; field < 4; ++field)
            result |= (sums[field] / 4) << (field * 4);
        storePixel16(out, uint16_t(result));
    });
}
