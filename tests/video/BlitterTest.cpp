#include "engine/video/Blitter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "engine/video/SoftwareImage.h"

namespace {

constexpr uint32_t kMarker = 0x11223344;

CRefPointer<CSoftwareImage> makeImage(int32_t format, int32_t width, int32_t height) {
    return CRefPointer<CSoftwareImage>(new CSoftwareImage(CContentKey(), format, width, height));
}

// A8R8G8B8 image whose pixel (x, y) is 0xFF00xxyy, so every copied pixel tells where it came from.
CRefPointer<CSoftwareImage> makeNumbered(int32_t width, int32_t height) {
    auto image = makeImage(COLOR_FORMAT_A8R8G8B8, width, height);
    auto* pixels = reinterpret_cast<uint32_t*>(image->getData());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels[y * width + x] = 0xFF000000 | uint32_t(x) << 8 | uint32_t(y);
    return image;
}

TEST(BlitterTest, CopyClipsToTargetSourceAndClipRectangle) {
    struct Case {
        const char* name;
        CPixelPoint position;
        std::optional<CPixelRect> sourceRect;
        std::optional<CPixelRect> clipRect;
        bool copied;
        CPixelRect written; // target pixels that change
        CPixelPoint from;   // source pixel that lands on written's top-left corner
    };
    const Case cases[] = {
        {"at (-5, -5)", {-5, -5}, {}, {}, true, {0, 0, 5, 5}, {5, 5}},
        {"at (7, 8)", {7, 8}, {}, {}, true, {7, 8, 10, 10}, {0, 0}},
        {"whole", {0, 0}, {}, {}, true, {0, 0, 10, 10}, {0, 0}},
        {"right of the target", {10, 0}, {}, {}, false, {}, {}},
        {"far off", {INT32_MIN, INT32_MAX}, {}, {}, false, {}, {}},
        {"clip rectangle", {0, 0}, {}, CPixelRect{2, 3, 4, 6}, true, {2, 3, 4, 6}, {2, 3}},
        {"clip beyond target", {0, 0}, {}, CPixelRect{-4, -4, 40, 40}, true, {0, 0, 10, 10}, {}},
        {"empty clip", {0, 0}, {}, CPixelRect{4, 4, 4, 9}, false, {}, {}},
        {"source part", {1, 1}, CPixelRect{6, 7, 8, 9}, {}, true, {1, 1, 3, 3}, {6, 7}},
        {"source beyond", {0, 0}, CPixelRect{8, 8, 20, 20}, {}, true, {0, 0, 2, 2}, {8, 8}},
        {"source before", {0, 0}, CPixelRect{-3, 0, 2, 1}, {}, true, {3, 0, 5, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        auto source = makeNumbered(10, 10);
        auto target = makeImage(COLOR_FORMAT_A8R8G8B8, 10, 10);
        target->fill(CColor(kMarker));
        const bool copied =
            blitImage(BLIT_COPY, source.get(), c.sourceRect ? &*c.sourceRect : nullptr,
                      target.get(), c.clipRect ? &*c.clipRect : nullptr, &c.position, CColor());
        EXPECT_EQ(copied, c.copied) << c.name;
        for (int32_t y = 0; y < 10; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                const CPixelRect& w = c.written;
                const bool inside = x >= w.left && x < w.right && y >= w.top && y < w.bottom;
                const uint32_t expected =
                    inside ? source->pixelAt(c.from.x + x - w.left, c.from.y + y - w.top).value
                           : kMarker;
                ASSERT_EQ(target->pixelAt(x, y).value, expected)
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(BlitterTest, CopyToUsesTheWholeImage) {
    auto source = makeNumbered(10, 10);
    auto target = makeImage(COLOR_FORMAT_A8R8G8B8, 10, 10);
    const CPixelPoint position{-5, -5};
    EXPECT_TRUE(source->copyTo(target.get(), &position));
    EXPECT_EQ(target->pixelAt(0, 0).value, 0xFF000505u);
    EXPECT_EQ(target->pixelAt(4, 4).value, 0xFF000909u);
    EXPECT_EQ(target->pixelAt(5, 5).value, 0u);
    EXPECT_FALSE(source->copyTo(nullptr));
}

// Blit copies and convertPixels differ on purpose: the blit expands 5-bit channels.
TEST(BlitterTest, CopyFromA1R5G5B5ExpandsChannels) {
    auto source = makeImage(COLOR_FORMAT_A1R5G5B5, 1, 1);
    source->fill(CColor(0xFFFFFFFF));
    auto rgb = makeImage(COLOR_FORMAT_R8G8B8, 1, 1);
    ASSERT_TRUE(source->copyTo(rgb.get()));
    EXPECT_EQ(rgb->getData()[0], 255);
    uint8_t converted[3];
    convertPixels(source->getData(), COLOR_FORMAT_A1R5G5B5, 1, converted, COLOR_FORMAT_R8G8B8);
    EXPECT_EQ(converted[0], 248);
}

TEST(BlitterTest, PixelOperations) {
    struct Case {
        const char* name;
        EBlitOperation operation;
        int32_t format;
        uint32_t source; // none when 0xDEADBEEF
        uint32_t target;
        uint32_t color;
        uint32_t result;
    };
    const uint32_t none = 0xDEADBEEF;
    const Case cases[] = {
        {"alpha bit set", BLIT_ALPHA_COPY, 0, 0xFC00, 0x001F, 0, 0x7C00},
        {"alpha bit clear", BLIT_ALPHA_COPY, 0, 0x7C00, 0x801F, 0, 0x001F},
        {"blend transparent", BLIT_ALPHA_COPY, 4, 0x00FFFFFF, 0xFF102030, 0, 0xFF102030},
        {"blend opaque", BLIT_ALPHA_COPY, 4, 0xFF405060, 0xFF102030, 0, 0xFF405060},
        {"blend half", BLIT_ALPHA_COPY, 4, 0x80FF0000, 0xFF0000FF, 0, 0x0080007E},
        {"tint 32", BLIT_TINTED_ALPHA_COPY, 4, 0xFFFF8040, 0xFF000000, 0xFF80FFFF, 0x007E7E3E},
        {"tint 16", BLIT_TINTED_ALPHA_COPY, 0, 0xFFFF, 0x001F, 0x80FF0000, 0x7800},
        {"tint 16 no alpha", BLIT_TINTED_ALPHA_COPY, 0, 0xFFFF, 0x001F, 0x7FFFFFFF, 0x001F},
        {"fill 16", BLIT_FILL, 0, none, 0, 0x80FF4020, 0xFD04},
        {"fill 32", BLIT_FILL, 4, none, 0, 0x80FF4020, 0x80FF4020},
        {"blend colour 16", BLIT_BLEND_COLOR, 0, none, 0x8000, 0x80FFFFFF, 0x3DEF},
        {"blend colour 16 opaque", BLIT_BLEND_COLOR, 0, none, 0x8000, 0xFFFFFFFF, 0x7FFF},
        {"blend colour 32", BLIT_BLEND_COLOR, 4, none, 0xFF204060, 0x80FFFFFF, 0x0090A0B0},
    };
    for (const Case& c : cases) {
        auto target = makeImage(c.format, 3, 1);
        for (int32_t x = 0; x < 3; ++x)
            std::memcpy(target->getData() + x * target->getBytesPerPixel(), &c.target,
                        target->getBytesPerPixel());
        CRefPointer<CSoftwareImage> source;
        if (c.source != none) {
            source = makeImage(c.format, 1, 1);
            std::memcpy(source->getData(), &c.source, source->getBytesPerPixel());
        }
        const CPixelPoint position{1, 0};
        const CPixelRect clip{1, 0, 2, 1};
        EXPECT_TRUE(blitImage(c.operation, source.get(), nullptr, target.get(), &clip, &position,
                              CColor(c.color)))
            << c.name;
        for (int32_t x = 0; x < 3; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, target->getData() + x * target->getBytesPerPixel(),
                        target->getBytesPerPixel());
            EXPECT_EQ(pixel, x == 1 ? c.result : c.target) << c.name << " at " << x;
        }
    }
}

TEST(BlitterTest, MissingRoutinesAndImagesTouchNothing) {
    struct Case {
        const char* name;
        EBlitOperation operation;
        int32_t targetFormat;
        int32_t sourceFormat; // -1: no source
    };
    const Case cases[] = {
        {"fill R8G8B8", BLIT_FILL, COLOR_FORMAT_R8G8B8, -1},
        {"alpha copy between formats", BLIT_ALPHA_COPY, COLOR_FORMAT_A8R8G8B8, 0},
        {"alpha copy A4R4G4B4", BLIT_ALPHA_COPY, COLOR_FORMAT_A4R4G4B4, 1},
        {"copy without source", BLIT_COPY, COLOR_FORMAT_A8R8G8B8, -1},
        {"unknown operation", EBlitOperation(9), COLOR_FORMAT_A8R8G8B8, 4},
    };
    for (const Case& c : cases) {
        auto target = makeImage(c.targetFormat, 2, 2);
        target->fill(CColor(kMarker));
        CRefPointer<CSoftwareImage> source;
        if (c.sourceFormat >= 0)
            source = makeImage(c.sourceFormat, 2, 2);
        EXPECT_FALSE(blitImage(c.operation, source.get(), nullptr, target.get(), nullptr, nullptr,
                               CColor(0xFFFFFFFF)))
            << c.name;
        auto reference = makeImage(c.targetFormat, 1, 1);
        reference->fill(CColor(kMarker));
        EXPECT_EQ(target->pixelAt(1, 1).value, reference->pixelAt(0, 0).value) << c.name;
    }
    auto empty = makeImage(COLOR_FORMAT_A8R8G8B8, 0, 0);
    auto target = makeImage(COLOR_FORMAT_A8R8G8B8, 2, 2);
    EXPECT_FALSE(
        blitImage(BLIT_COPY, empty.get(), nullptr, target.get(), nullptr, nullptr, CColor()));
    EXPECT_FALSE(
        blitImage(BLIT_COPY, target.get(), nullptr, empty.get(), nullptr, nullptr, CColor()));
    EXPECT_FALSE(blitImage(BLIT_COPY, target.get(), nullptr, nullptr, nullptr, nullptr, CColor()));
}

} // namespace
