#include "engine/video/JpgaImageDecoder.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"

namespace {

using namespace fixtures;

TEST(JpgaImageDecoderTest, ColourAndAlphaJpegs) {
    const CContentKey key(nullptr, u"a.jpga");
    const CRefPointer<CSoftwareImage> image =
        CJpgaImageDecoder().load(open("image.jpga").get(), key);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getFormat(), COLOR_FORMAT_A8R8G8B8);
    EXPECT_TRUE(image->getContentKey() == key);
    ASSERT_EQ(image->getWidth(), kJpegSize);
    ASSERT_EQ(image->getHeight(), kJpegSize);
    for (int32_t y = 0; y < kJpegSize; ++y) {
        for (int32_t x = 0; x < kJpegSize; ++x) {
            const uint32_t expected = (jpegRgb(x, y) & 0xFFFFFF) | jpegAlpha(x, y) << 24;
            ASSERT_LE(channelDistance(image->pixelAt(x, y).value, expected), 12) << x << "," << y;
        }
    }
}

TEST(JpgaImageDecoderTest, DamagedFilesGiveNoImage) {
    std::vector<uint8_t> header = read("image.jpga");
    header.resize(8);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"version 257", read("bad-version.jpga")},
        {"alpha offset beyond the file", read("offset-beyond.jpga")},
        {"alpha offset inside the header", read("offset-low.jpga")},
        {"alpha smaller than colour", read("small-alpha.jpga")},
        {"alpha does not decode", read("broken-alpha.jpga")},
        {"short header", header},
        {"empty", {}},
    };
    CJpgaImageDecoder decoder;
    for (const Case& c : cases)
        EXPECT_FALSE(decoder.load(memoryFile(c.bytes, c.name).get(), CContentKey())) << c.name;
}

TEST(JpgaImageDecoderTest, RecognisesTheMagic) {
    CJpgaImageDecoder decoder;
    EXPECT_TRUE(decoder.acceptsExtension(u"jpga"));
    EXPECT_FALSE(decoder.acceptsExtension(u"jpg"));
    EXPECT_TRUE(decoder.acceptsContent(open("bad-version.jpga").get()));
    EXPECT_FALSE(decoder.acceptsContent(open("baseline.jpg").get()));
}

} // namespace
