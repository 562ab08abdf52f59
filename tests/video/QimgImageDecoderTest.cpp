#include "engine/video/QimgImageDecoder.h"

#include <gtest/gtest.h>

#include <functional>

#include "ImageFixtures.h"

namespace {

using namespace fixtures;

// A qimg of one RAW colour part and a footer.
std::vector<uint8_t> rawQimg(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels,
                             uint8_t format) {
    std::vector<uint8_t> bytes;
    for (uint32_t value : {width, height})
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(value >> shift));
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    const uint32_t split = uint32_t(bytes.size());
    const uint8_t footer[16] = {uint8_t(split),
                                uint8_t(split >> 8),
                                uint8_t(split >> 16),
                                0,
                                0,
                                1,
                                0,
                                0,
                                format,
                                0,
                                0,
                                1,
                                'G',
                                'M',
                                'I',
                                'Q'};
    bytes.insert(bytes.end(), footer, footer + 16);
    return bytes;
}

uint32_t through565(uint32_t argb) {
    return argbFromR5G6B5(r5g6b5FromArgb(argb));
}
uint32_t through1555(uint32_t argb) {
    return argbFromA1R5G5B5(a1r5g5b5FromArgb(argb));
}

TEST(QimgImageDecoderTest, ColourAndAlphaCodings) {
    struct Case {
        const char* file;
        int32_t format;
        bool flag;
        int32_t size;
        int32_t tolerance;
        std::function<uint32_t(int32_t, int32_t)> pixel;
    };
    const Case cases[] = {
        {"raw-argb.qimg", COLOR_FORMAT_A8R8G8B8, true, kWidth, 0, rgba},
        {"bad-magic.qimg", COLOR_FORMAT_A8R8G8B8, false, kWidth, 0, rgba},
        // Alpha parts are skipped for formats without alpha.
        {"raw-565.qimg", COLOR_FORMAT_R5G6B5, false, kWidth, 0,
         [](int32_t x, int32_t y) { return through565(rgb(x, y)); }},
        {"png-rawalpha.qimg", COLOR_FORMAT_A8R8G8B8, false, kWidth, 0, rgba},
        {"png-pngalpha-1555.qimg", COLOR_FORMAT_A1R5G5B5, false, kWidth, 0,
         [](int32_t x, int32_t y) { return through1555(rgba(x, y)); }},
        {"jpeg-jpegalpha.qimg", COLOR_FORMAT_A8R8G8B8, false, kJpegSize, 12,
         [](int32_t x, int32_t y) { return (jpegRgb(x, y) & 0xFFFFFF) | jpegAlpha(x, y) << 24; }},
    };
    CQimgImageDecoder decoder;
    for (const Case& c : cases) {
        const CContentKey key(nullptr, u"pictures/a.qimg");
        const CRefPointer<CSoftwareImage> image = decoder.load(open(c.file).get(), key);
        ASSERT_TRUE(image) << c.file;
        EXPECT_EQ(image->getFormat(), c.format) << c.file;
        EXPECT_EQ(image->hasFooterFlag(), c.flag) << c.file;
        EXPECT_TRUE(image->getContentKey() == key) << c.file;
        ASSERT_EQ(image->getWidth(), c.size) << c.file;
        for (int32_t y = 0; y < image->getHeight(); ++y)
            for (int32_t x = 0; x < image->getWidth(); ++x)
                ASSERT_LE(channelDistance(image->pixelAt(x, y).value, c.pixel(x, y)), c.tolerance)
                    << c.file << " at " << x << "," << y;
    }
}

TEST(QimgImageDecoderTest, ShortRawDataIsZeroFilled) {
    const CRefPointer<CSoftwareImage> image =
        CQimgImageDecoder().load(open("short-raw.qimg").get(), CContentKey());
    ASSERT_TRUE(image);
    // The part holds 17.5 of the 35 pixels it declares.
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        const uint32_t pixel = image->pixelAt(i % kWidth, i / kWidth).value;
        if (i < 17) {
            EXPECT_EQ(pixel, rgba(i % kWidth, i / kWidth)) << i;
        } else if (i > 17) {
            EXPECT_EQ(pixel, 0u) << i;
        }
    }
    const CRefPointer<CSoftwareImage> declaredOnly = CQimgImageDecoder().load(
        memoryFile(rawQimg(100, 100, {}, 4), "a.qimg").get(), CContentKey());
    ASSERT_TRUE(declaredOnly);
    EXPECT_EQ(declaredOnly->pixelAt(99, 99).value, 0u);
}

// A short part is zero-filled only while the missing bytes do not outnumber those present by
// more than 64 KiB, and no side may pass the drivers' largest, 16384.
TEST(QimgImageDecoderTest, DeclaredSizesAreBelievedOnlyAsFarAsTheBytesGo) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool loads;
    };
    const Case cases[] = {
        {"100 x 100 declared, nothing present", rawQimg(100, 100, {}, 4), true},
        {"300 x 200 declared, nothing present", rawQimg(300, 200, {}, 4), false},
        {"10000 x 10000 declared, nothing present", rawQimg(10000, 10000, {}, 4), false},
        {"16384 x 1 present", rawQimg(16384, 1, std::vector<uint8_t>(16384 * 4, 7), 4), true},
        {"16385 x 1 present", rawQimg(16385, 1, std::vector<uint8_t>(16385 * 4, 7), 4), false},
        {"1 x 16385 present", rawQimg(1, 16385, std::vector<uint8_t>(16385 * 2, 7), 2), false},
    };
    for (const Case& c : cases) {
        bool loaded = false;
        const int64_t largest = largestAllocationDuring([&] {
            loaded =
                bool(CQimgImageDecoder().load(memoryFile(c.bytes, "a.qimg").get(), CContentKey()));
        });
        EXPECT_EQ(loaded, c.loads) << c.name;
        if (!c.loads) {
            EXPECT_LT(largest, kSmallFileAllocation) << c.name;
        }
    }
}

TEST(QimgImageDecoderTest, DamagedFilesGiveNoImage) {
    std::vector<uint8_t> footerOnly = read("raw-argb.qimg");
    footerOnly.erase(footerOnly.begin(), footerOnly.end() - 16);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"version 257", read("version257.qimg")},
        {"split beyond the file", read("split-beyond.qimg")},
        {"alpha smaller than colour", read("small-alpha.qimg")},
        {"unknown colour format", read("bad-format.qimg")},
        {"footer only", footerOnly},
        {"size overflows", rawQimg(0x10000, 0x10000, {1, 2, 3, 4}, 4)},
        {"negative size", rawQimg(0x80000000, 1, {1, 2, 3, 4}, 4)},
        {"shorter than a footer", {'G', 'M', 'I', 'Q'}},
        {"empty", {}},
    };
    CQimgImageDecoder decoder;
    for (const Case& c : cases)
        EXPECT_FALSE(decoder.load(memoryFile(c.bytes, c.name).get(), CContentKey())) << c.name;
}

TEST(QimgImageDecoderTest, RecognisesTheFooterMagic) {
    CQimgImageDecoder decoder;
    EXPECT_TRUE(decoder.acceptsExtension(u"qimg"));
    EXPECT_TRUE(decoder.acceptsContent(open("raw-argb.qimg").get()));
    EXPECT_FALSE(decoder.acceptsContent(open("bad-magic.qimg").get()));
    EXPECT_FALSE(decoder.acceptsContent(memoryFile({'M', 'I', 'Q'}, "short").get()));
}

} // namespace
