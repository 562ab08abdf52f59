#include "engine/video/PngImageDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

#include "ImageFixtures.h"

namespace {

using namespace fixtures;

const uint32_t kPalette[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFAC864};
const uint32_t kPaletteAlpha[] = {0, 100, 200, 255};

TEST(PngImageDecoderTest, EveryColourTypeLoadsAsEightBitRgb) {
    struct Case {
        const char* file;
        int32_t format;
        std::function<uint32_t(int32_t, int32_t)> pixel;
    };
    const Case cases[] = {
        {"grey8.png", COLOR_FORMAT_R8G8B8,
         [](int32_t x, int32_t y) { return greyRgb(grey(x, y)); }},
        {"grey4.png", COLOR_FORMAT_R8G8B8,
         [](int32_t x, int32_t y) { return greyRgb(uint32_t((x + 2 * y) % 16) * 17); }},
        {"grey-trns.png", COLOR_FORMAT_A8R8G8B8,
         [](int32_t x, int32_t y) {
             const uint32_t v = grey(x, y);
             return v == 42 ? v << 16 | v << 8 | v : greyRgb(v);
         }},
        {"grey-alpha.png", COLOR_FORMAT_A8R8G8B8,
         [](int32_t x, int32_t y) { return (greyRgb(grey(x, y)) & 0xFFFFFF) | alpha(x, y) << 24; }},
        {"palette.png", COLOR_FORMAT_R8G8B8,
         [](int32_t x, int32_t y) { return 0xFF000000 | kPalette[(x + y) % 4]; }},
        {"palette-trns.png", COLOR_FORMAT_A8R8G8B8,
         [](int32_t x, int32_t y) {
             return kPaletteAlpha[(x + y) % 4] << 24 | kPalette[(x + y) % 4];
         }},
        {"rgb.png", COLOR_FORMAT_R8G8B8, rgb},
        {"rgba.png", COLOR_FORMAT_A8R8G8B8, rgba},
        {"rgba16.png", COLOR_FORMAT_A8R8G8B8, rgba},
        {"rgba-interlaced.png", COLOR_FORMAT_A8R8G8B8, rgba},
    };
    CPngImageDecoder decoder;
    for (const Case& c : cases) {
        const CContentKey key(nullptr, u"images/x.png");
        const CRefPointer<CSoftwareImage> image = decoder.load(open(c.file).get(), key);
        ASSERT_TRUE(image) << c.file;
        EXPECT_EQ(image->getFormat(), c.format) << c.file;
        EXPECT_TRUE(image->getContentKey() == key) << c.file;
        ASSERT_EQ(image->getWidth(), kWidth) << c.file;
        ASSERT_EQ(image->getHeight(), kHeight) << c.file;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(image->pixelAt(x, y).value, c.pixel(x, y))
                    << c.file << " at " << x << "," << y;
    }
}

TEST(PngImageDecoderTest, DamagedFilesGiveNoImage) {
    std::vector<uint8_t> header = read("rgba.png");
    header.resize(40); // signature and IHDR, nothing more
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"truncated", read("truncated.png")},
        {"bad CRC", read("bad-crc.png")},
        {"header only", header},
        {"not a PNG", read("baseline.jpg")},
        {"short", {0x89, 'P', 'N'}},
        {"empty", {}},
    };
    CPngImageDecoder decoder;
    for (const Case& c : cases)
        EXPECT_FALSE(decoder.load(memoryFile(c.bytes, c.name).get(), CContentKey())) << c.name;
}

// The fixture with the size in its header replaced, and the header's checksum made right.
std::vector<uint8_t> rgbaDeclaring(uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes = read("rgba.png");
    const size_t header = 12; // signature, chunk length; then "IHDR", width, height
    for (int i = 0; i < 4; ++i) {
        bytes[header + 4 + i] = uint8_t(width >> (24 - 8 * i));
        bytes[header + 8 + i] = uint8_t(height >> (24 - 8 * i));
    }
    const uint32_t crc = uint32_t(crc32(0, bytes.data() + header, 17));
    for (int i = 0; i < 4; ++i)
        bytes[header + 17 + i] = uint8_t(crc >> (24 - 8 * i));
    return bytes;
}

// No side beyond the drivers' largest, 16384, and no more pixels than deflate can unpack from
// the bytes present.
TEST(PngImageDecoderTest, DeclaredSizesAreBelievedOnlyAsFarAsTheBytesGo) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"16000 x 16000 in a few hundred bytes", rgbaDeclaring(16000, 16000)},
        {"20000 x 5", rgbaDeclaring(20000, 5)},
    };
    for (const Case& c : cases) {
        bool loaded = true;
        const int64_t largest = largestAllocationDuring([&] {
            loaded =
                bool(CPngImageDecoder().load(memoryFile(c.bytes, "a.png").get(), CContentKey()));
        });
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_LT(largest, kSmallFileAllocation) << c.name;
    }
}

TEST(PngImageDecoderTest, RecognisesPngs) {
    CPngImageDecoder decoder;
    EXPECT_TRUE(decoder.acceptsExtension(u"png"));
    EXPECT_FALSE(decoder.acceptsExtension(u"PNG"));
    EXPECT_TRUE(decoder.acceptsContent(open("truncated.png").get()));
    EXPECT_FALSE(decoder.acceptsContent(open("baseline.jpg").get()));
    EXPECT_FALSE(decoder.acceptsContent(memoryFile({0x89, 'P'}, "short").get()));
}

} // namespace
