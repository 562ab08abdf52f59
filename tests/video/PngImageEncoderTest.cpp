#include "engine/video/PngImageEncoder.h"

#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "engine/io/VirtualFile.h"
#include "engine/video/PngImageDecoder.h"

namespace {

using namespace fixtures;

CRefPointer<CSoftwareImage> makeImage(int32_t format) {
    return drawnImage(format, kWidth, kHeight, rgba);
}

TEST(PngImageEncoderTest, WriteThenReadIsExact) {
    struct Case {
        int32_t format;
        int32_t readFormat;
    };
    const Case cases[] = {
        {COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_A8R8G8B8}, {COLOR_FORMAT_R8G8B8, COLOR_FORMAT_R8G8B8},
        {COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A8R8G8B8}, {COLOR_FORMAT_R5G6B5, COLOR_FORMAT_R8G8B8},
        {COLOR_FORMAT_A4R4G4B4, COLOR_FORMAT_A8R8G8B8},
    };
    CPngImageEncoder encoder;
    for (const Case& c : cases) {
        const CRefPointer<CSoftwareImage> image = makeImage(c.format);
        CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.png", 64));
        ASSERT_TRUE(encoder.write(file.get(), image.get(), 0)) << c.format;
        file->seekTo(0, false);
        const CRefPointer<CSoftwareImage> back = decodePng(file.get(), CContentKey());
        ASSERT_TRUE(back) << c.format;
        EXPECT_EQ(back->getFormat(), c.readFormat);
        // What was written is the image as 8-bit channels: its pixels converted to the format read.
        const CRefPointer<CSoftwareImage> expected =
            CSoftwareImage::create(CContentKey(), c.readFormat, kWidth, kHeight);
        image->copyToBuffer(expected->getData(), kWidth, kHeight, c.readFormat, 0);
        ASSERT_EQ(back->getBufferSize(), expected->getBufferSize());
        EXPECT_EQ(0, std::memcmp(back->getData(), expected->getData(), back->getBufferSize()))
            << c.format;
    }
}

TEST(PngImageEncoderTest, FailedWritesReportFalse) {
    CPngImageEncoder encoder;
    const CRefPointer<CSoftwareImage> image = makeImage(COLOR_FORMAT_A8R8G8B8);
    uint8_t* block = new uint8_t[20];
    CRefPointer<IOutputFile> tooSmall(new CMemoryBlockFile(block, 20, u"small.png", true));
    EXPECT_FALSE(encoder.write(tooSmall.get(), image.get(), 0));

    CRefPointer<CVirtualFile> file(new CVirtualFile(u"out.png", 64));
    const CRefPointer<CSoftwareImage> empty = makeImage(7);
    EXPECT_FALSE(encoder.write(file.get(), empty.get(), 0));
    EXPECT_FALSE(encoder.write(file.get(), nullptr, 0));
}

TEST(PngImageEncoderTest, TakesPngNamesInAnyCase) {
    CPngImageEncoder encoder;
    EXPECT_TRUE(encoder.acceptsExtension(u"shots/a.png"));
    EXPECT_TRUE(encoder.acceptsExtension(u"A.PnG"));
    EXPECT_FALSE(encoder.acceptsExtension(u"a.png.bak"));
    EXPECT_FALSE(encoder.acceptsExtension(u"png"));
    EXPECT_FALSE(encoder.acceptsExtension(u"a.pngx"));
}

} // namespace
