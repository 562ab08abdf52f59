#include "engine/video/JpegImageDecoder.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"

namespace {

using namespace fixtures;

constexpr int32_t kTolerance = 12;

TEST(JpegImageDecoderTest, DecodesWithinTolerance) {
    struct Case {
        const char* file;
        bool grey;
    };
    const Case cases[] = {{"baseline.jpg", false},
                          {"progressive.jpg", false},
                          {"nojfif.jpg", false},
                          {"grey.jpg", true}};
    CJpegImageDecoder decoder;
    for (const Case& c : cases) {
        const CContentKey key(nullptr, u"a.jpg");
        const CRefPointer<CSoftwareImage> image = decoder.load(open(c.file).get(), key);
        ASSERT_TRUE(image) << c.file;
        EXPECT_EQ(image->getFormat(), COLOR_FORMAT_R8G8B8);
        EXPECT_TRUE(image->getContentKey() == key);
        ASSERT_EQ(image->getWidth(), kJpegSize);
        ASSERT_EQ(image->getHeight(), kJpegSize);
        for (int32_t y = 0; y < kJpegSize; ++y) {
            for (int32_t x = 0; x < kJpegSize; ++x) {
                const uint32_t expected = c.grey ? greyRgb(jpegAlpha(x, y)) : jpegRgb(x, y);
                ASSERT_LE(channelDistance(image->pixelAt(x, y).value, expected), kTolerance)
                    << c.file << " at " << x << "," << y;
            }
        }
    }
}

TEST(JpegImageDecoderTest, DamagedFilesGiveNoImage) {
    std::vector<uint8_t> headerOnly = read("baseline.jpg");
    headerOnly.resize(200);
    std::vector<uint8_t> noEnd = read("baseline.jpg");
    noEnd.resize(noEnd.size() - 2); // the image data is complete, the end marker is missing
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"truncated", read("truncated.jpg")},
        {"header only", headerOnly},
        {"no end marker", noEnd},
        {"a PNG", read("rgba.png")},
        {"empty", {}},
    };
    CJpegImageDecoder decoder;
    for (const Case& c : cases)
        EXPECT_FALSE(decoder.load(memoryFile(c.bytes, c.name).get(), CContentKey())) << c.name;
}

// The fixture with the size in its frame header replaced.
std::vector<uint8_t> baselineDeclaring(uint16_t width, uint16_t height) {
    std::vector<uint8_t> bytes = read("baseline.jpg");
    for (size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = uint8_t(height >> 8);
            bytes[i + 6] = uint8_t(height);
            bytes[i + 7] = uint8_t(width >> 8);
            bytes[i + 8] = uint8_t(width);
            break;
        }
    }
    return bytes;
}

// No side beyond the drivers' largest, 16384, and no more than 8192 pixels a byte of the file.
TEST(JpegImageDecoderTest, DeclaredSizesAreBelievedOnlyAsFarAsTheBytesGo) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"16000 x 16000 in a few hundred bytes", baselineDeclaring(16000, 16000)},
        {"20000 x 16", baselineDeclaring(20000, 16)},
    };
    for (const Case& c : cases) {
        bool loaded = true;
        const int64_t largest = largestAllocationDuring([&] {
            loaded =
                bool(CJpegImageDecoder().load(memoryFile(c.bytes, "a.jpg").get(), CContentKey()));
        });
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_LT(largest, kSmallFileAllocation) << c.name;
    }
}

TEST(JpegImageDecoderTest, RecognisesJfifFiles) {
    CJpegImageDecoder decoder;
    EXPECT_TRUE(decoder.acceptsExtension(u"jpg"));
    EXPECT_FALSE(decoder.acceptsExtension(u"jpeg"));
    EXPECT_TRUE(decoder.acceptsContent(open("baseline.jpg").get()));
    EXPECT_FALSE(decoder.acceptsContent(open("nojfif.jpg").get()));
    EXPECT_TRUE(
        decoder.acceptsContent(memoryFile({0, 0, 0, 0, 0, 0, 'F', 'I', 'F', 'J'}, "x").get()));
    EXPECT_FALSE(decoder.acceptsContent(memoryFile({0, 0, 0, 0, 0, 0, 'J', 'F', 'I'}, "x").get()));
}

} // namespace
