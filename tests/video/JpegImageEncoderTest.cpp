#include "engine/video/JpegImageEncoder.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "engine/io/VirtualFile.h"
#include "engine/video/JpegImageDecoder.h"

namespace {

using namespace fixtures;

CRefPointer<CSoftwareImage> makeGradient(int32_t format) {
    return drawnImage(format, kJpegSize, kJpegSize, jpegRgb);
}

std::vector<uint8_t> encode(const CSoftwareImage* image, int32_t quality, bool* written) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.jpg", 4096));
    *written = CJpegImageEncoder().write(file.get(), image, quality);
    std::vector<uint8_t> bytes(size_t(file->getLength()));
    file->seekTo(0, false);
    file->readBytes(bytes.data(), int32_t(bytes.size()));
    return bytes;
}

TEST(JpegImageEncoderTest, WriteThenReadIsCloseForEveryFormatButA4R4G4B4) {
    const int32_t formats[] = {COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_R5G6B5, COLOR_FORMAT_R8G8B8,
                               COLOR_FORMAT_A8R8G8B8};
    for (int32_t format : formats) {
        const CRefPointer<CSoftwareImage> image = makeGradient(format);
        bool written = false;
        const std::vector<uint8_t> bytes = encode(image.get(), 95, &written);
        ASSERT_TRUE(written) << format;
        const CRefPointer<CSoftwareImage> back =
            decodeJpeg(memoryFile(bytes, "out.jpg").get(), CContentKey());
        ASSERT_TRUE(back) << format;
        for (int32_t y = 0; y < kJpegSize; ++y)
            for (int32_t x = 0; x < kJpegSize; ++x)
                ASSERT_LE(channelDistance(back->pixelAt(x, y).value,
                                          image->pixelAt(x, y).value | 0xFF000000),
                          16)
                    << format << " at " << x << "," << y;
    }
    bool written = true;
    EXPECT_TRUE(encode(makeGradient(COLOR_FORMAT_A4R4G4B4).get(), 95, &written).empty());
    EXPECT_FALSE(written);
}

TEST(JpegImageEncoderTest, QualityZeroMeans75) {
    const CRefPointer<CSoftwareImage> image = makeGradient(COLOR_FORMAT_R8G8B8);
    bool written = false;
    const std::vector<uint8_t> zero = encode(image.get(), 0, &written);
    EXPECT_TRUE(written);
    EXPECT_EQ(zero, encode(image.get(), 75, &written));
    EXPECT_NE(zero, encode(image.get(), 100, &written));
}

// JPEG output can be larger than the raw pixels (headers and tables of small images).
TEST(JpegImageEncoderTest, OutputLargerThanThePixels) {
    struct Case {
        int32_t width, height;
    };
    for (const Case& c : {Case{1, 1}, Case{9, 7}}) {
        const CRefPointer<CSoftwareImage> image =
            CSoftwareImage::create(CContentKey(), COLOR_FORMAT_R8G8B8, c.width, c.height);
        uint32_t seed = 12345;
        for (size_t i = 0; i < image->getBufferSize(); ++i) {
            seed = seed * 1103515245 + 12345;
            image->getData()[i] = uint8_t(seed >> 16);
        }
        bool written = false;
        const std::vector<uint8_t> bytes = encode(image.get(), 100, &written);
        ASSERT_TRUE(written) << c.width;
        EXPECT_GT(bytes.size(), image->getBufferSize()) << c.width;
        const CRefPointer<CSoftwareImage> back =
            decodeJpeg(memoryFile(bytes, "out.jpg").get(), CContentKey());
        ASSERT_TRUE(back) << c.width;
        EXPECT_EQ(back->getWidth(), c.width);
    }
}

TEST(JpegImageEncoderTest, FailedWritesReportFalse) {
    const CRefPointer<CSoftwareImage> image = makeGradient(COLOR_FORMAT_R8G8B8);
    uint8_t* block = new uint8_t[20];
    CRefPointer<IOutputFile> tooSmall(new CMemoryBlockFile(block, 20, u"small.jpg", true));
    EXPECT_FALSE(CJpegImageEncoder().write(tooSmall.get(), image.get(), 90));
    const CRefPointer<CSoftwareImage> empty =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_R8G8B8, 0, 0);
    bool written = true;
    encode(empty.get(), 90, &written);
    EXPECT_FALSE(written);
    // Wider than JPEG allows: libjpeg raises an error, which must not end the process.
    const CRefPointer<CSoftwareImage> tooWide =
        CSoftwareImage::create(CContentKey(), COLOR_FORMAT_R8G8B8, 70000, 1);
    EXPECT_TRUE(encode(tooWide.get(), 90, &written).empty());
    EXPECT_FALSE(written);
}

TEST(JpegImageEncoderTest, TakesJpgAndJpegInAnyCase) {
    CJpegImageEncoder encoder;
    const char16_t* accepted[] = {u"a.jpg", u"a.JPG", u"b/c.Jpeg", u"x.jpeg"};
    const char16_t* refused[] = {u"a.jpga", u"a.png", u"jpg", u"a.jpg/b"};
    for (const char16_t* name : accepted)
        EXPECT_TRUE(encoder.acceptsExtension(name));
    for (const char16_t* name : refused)
        EXPECT_FALSE(encoder.acceptsExtension(name));
}

} // namespace
