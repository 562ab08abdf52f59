#include "engine/video/SoftwareImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

CRefPointer<CSoftwareImage> makeImage(int32_t format, int32_t width, int32_t height) {
    return CRefPointer<CSoftwareImage>(new CSoftwareImage(CContentKey(), format, width, height));
}

TEST(SoftwareImageTest, LayoutAndZeroedBuffer) {
    struct Case {
        int32_t format;
        int32_t bytes;
        uint32_t alphaMask, redMask;
    };
    const Case cases[] = {
        {COLOR_FORMAT_A1R5G5B5, 2, 0x8000, 0x7C00},
        {COLOR_FORMAT_A4R4G4B4, 2, 0xF000, 0x0F00},
        {COLOR_FORMAT_R5G6B5, 2, 0, 0xF800},
        {COLOR_FORMAT_R8G8B8, 3, 0, 0xFF0000},
        {COLOR_FORMAT_A8R8G8B8, 4, 0xFF000000, 0xFF0000},
    };
    for (const Case& c : cases) {
        auto image = makeImage(c.format, 3, 2);
        EXPECT_EQ(image->getBytesPerPixel(), c.bytes) << c.format;
        EXPECT_EQ(image->getBitsPerPixel(), uint32_t(c.bytes * 8)) << c.format;
        EXPECT_EQ(image->getPitch(), 3 * c.bytes) << c.format;
        EXPECT_EQ(image->getAlphaMask(), c.alphaMask) << c.format;
        EXPECT_EQ(image->getRedMask(), c.redMask) << c.format;
        const std::vector<uint8_t> zeros(image->getBufferSize(), 0);
        EXPECT_EQ(0, std::memcmp(image->getData(), zeros.data(), zeros.size())) << c.format;
    }
    EXPECT_EQ(makeImage(COLOR_FORMAT_A8R8G8B8, 1, 1)->getContentType(), 0x67616D69u);
    EXPECT_EQ(makeImage(COLOR_FORMAT_A8R8G8B8, 1, 1)->getHandOutMode(), CContent::kShared);
}

TEST(SoftwareImageTest, SizesThatDoNotFitGiveEmptyImages) {
    struct Case {
        int32_t format, width, height;
    };
    const Case cases[] = {{7, 4, 4},
                          {COLOR_FORMAT_A8R8G8B8, -1, 4},
                          {COLOR_FORMAT_R8G8B8, 4, -3},
                          {COLOR_FORMAT_A8R8G8B8, 65536, 65536},
                          {COLOR_FORMAT_R8G8B8, INT32_MAX, 1}};
    for (const Case& c : cases) {
        EXPECT_FALSE(CSoftwareImage::fits(c.format, c.width, c.height)) << c.width;
        EXPECT_FALSE(CSoftwareImage::create(CContentKey(), c.format, c.width, c.height));
        auto image = makeImage(c.format, c.width, c.height);
        EXPECT_EQ(image->getWidth(), 0);
        EXPECT_EQ(image->getHeight(), 0);
        EXPECT_EQ(image->pixelAt(0, 0).value, 0u);
        image->fill(CColor(0xFFFFFFFF));
    }
    EXPECT_TRUE(CSoftwareImage::fits(COLOR_FORMAT_A8R8G8B8, 0, 100));
}

TEST(SoftwareImageTest, PixelAtEveryFormat) {
    struct Case {
        int32_t format;
        uint8_t bytes[4];
        uint32_t argb;
    };
    const Case cases[] = {
        {COLOR_FORMAT_A1R5G5B5, {0xFF, 0x7F}, 0x00FFFFFF},
        {COLOR_FORMAT_A1R5G5B5, {0xFF, 0xFF}, 0xFFFFFFFF},
        {COLOR_FORMAT_A1R5G5B5, {0x21, 0x84}, 0xFF080808}, // r1, g1, b1 expanded
        {COLOR_FORMAT_A4R4G4B4, {0xFF, 0xFF}, 0xF0F0F0F0},
        {COLOR_FORMAT_R5G6B5, {0xFF, 0xFF}, 0xFFF8FCF8},
        {COLOR_FORMAT_R8G8B8, {0x01, 0x02, 0x03}, 0xFF010203},
        {COLOR_FORMAT_A8R8G8B8, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
    };
    for (const Case& c : cases) {
        auto image = makeImage(c.format, 2, 2);
        uint8_t* last = image->getData() + image->getPitch() + image->getBytesPerPixel();
        std::memcpy(last, c.bytes, image->getBytesPerPixel());
        EXPECT_EQ(image->pixelAt(1, 1).value, c.argb) << c.format;
        const bool opaque = c.format == COLOR_FORMAT_R5G6B5 || c.format == COLOR_FORMAT_R8G8B8;
        EXPECT_EQ(image->pixelAt(0, 0).value, opaque ? 0xFF000000u : 0u) << c.format;
        const int32_t outside[][2] = {{-1, 0}, {2, 0}, {0, -1}, {0, 2}, {INT32_MIN, 1}};
        for (const auto& xy : outside)
            EXPECT_EQ(image->pixelAt(xy[0], xy[1]).value, 0u) << c.format << " " << xy[0];
    }
}

TEST(SoftwareImageTest, FillWritesEveryPixelOfEveryFormat) {
    const uint32_t color = 0x80FF4020;
    const uint32_t expected[] = {
        0xFFFF4221, // A1R5G5B5: alpha bit set, channels expanded back
        0x80F04020, // A4R4G4B4
        0xFFF84020, // R5G6B5
        0xFFFF4020, // R8G8B8
        0x80FF4020, // A8R8G8B8
    };
    for (int32_t format = 0; format <= 4; ++format) {
        for (int32_t width : {1, 3, 4}) {
            for (int32_t height : {1, 2}) {
                auto image = makeImage(format, width, height);
                image->fill(CColor(color));
                for (int32_t y = 0; y < height; ++y)
                    for (int32_t x = 0; x < width; ++x)
                        EXPECT_EQ(image->pixelAt(x, y).value, expected[format])
                            << format << " " << width << "x" << height << " at " << x << "," << y;
            }
        }
    }
}

TEST(SoftwareImageTest, AdoptedAndCopiedBuffers) {
    const uint8_t pixels[] = {1, 2, 3, 4, 5, 6};
    auto copied = CRefPointer<CSoftwareImage>(new CSoftwareImage(
        CContentKey(), COLOR_FORMAT_R8G8B8, 2, 1, const_cast<uint8_t*>(pixels), false, false));
    EXPECT_NE(copied->getData(), pixels);
    EXPECT_EQ(copied->pixelAt(1, 0).value, 0xFF040506u);

    auto* owned = static_cast<uint8_t*>(std::malloc(6));
    std::memcpy(owned, pixels, 6);
    auto adopted = CRefPointer<CSoftwareImage>(
        new CSoftwareImage(CContentKey(), COLOR_FORMAT_R8G8B8, 2, 1, owned, true, true));
    EXPECT_EQ(adopted->getData(), owned);
    EXPECT_EQ(adopted->pixelAt(0, 0).value, 0xFF010203u);

    uint8_t borrowed[6] = {};
    {
        CRefPointer<CSoftwareImage> view(
            new CSoftwareImage(CContentKey(), COLOR_FORMAT_R8G8B8, 2, 1, borrowed, true, false));
        view->fill(CColor(0xFF0A0B0C));
    }
    EXPECT_EQ(borrowed[5], 0x0C);
}

TEST(SoftwareImageTest, CopyingConstructorConvertsEveryPair) {
    // A pair without a routine of its own (R5G6B5 to A8R8G8B8) still gives defined pixels.
    for (int32_t from = 0; from <= 4; ++from) {
        auto source = makeImage(from, 3, 2);
        source->fill(CColor(0xFFFFFFFF));
        source->setFooterFlag(true);
        for (int32_t to = 0; to <= 4; ++to) {
            CRefPointer<CSoftwareImage> copy(new CSoftwareImage(CContentKey(), to, source.get()));
            ASSERT_EQ(copy->getWidth(), 3);
            ASSERT_EQ(copy->getHeight(), 2);
            EXPECT_TRUE(copy->hasFooterFlag());
            const CColor pixel = copy->pixelAt(2, 1);
            EXPECT_GE(pixel.getRed(), 0xF0u) << from << " -> " << to;
            EXPECT_GE(pixel.getGreen(), 0xF0u) << from << " -> " << to;
        }
    }
    auto r5g6b5 = makeImage(COLOR_FORMAT_R5G6B5, 1, 1);
    r5g6b5->fill(CColor(0xFFFFFFFF));
    CRefPointer<CSoftwareImage> argb(
        new CSoftwareImage(CContentKey(), COLOR_FORMAT_A8R8G8B8, r5g6b5.get()));
    EXPECT_EQ(argb->pixelAt(0, 0).value, 0xFFF8FCF8u);

    CRefPointer<CSoftwareImage> none(
        new CSoftwareImage(CContentKey(), COLOR_FORMAT_A8R8G8B8, nullptr));
    EXPECT_EQ(none->getWidth(), 0);
}

TEST(SoftwareImageTest, CopyToBuffer) {
    auto image = makeImage(COLOR_FORMAT_A8R8G8B8, 2, 2);
    image->fill(CColor(0xFF102030));

    std::vector<uint32_t> narrow(1 * 2, 7);
    image->copyToBuffer(narrow.data(), 1, 2, COLOR_FORMAT_A8R8G8B8, 0);
    EXPECT_EQ(narrow, std::vector<uint32_t>(2, 7));

    std::vector<uint32_t> same(3 * 3, 7);
    image->copyToBuffer(same.data(), 3, 3, COLOR_FORMAT_A8R8G8B8, 0);
    EXPECT_EQ(same, (std::vector<uint32_t>{0xFF102030, 0xFF102030, 7, 0xFF102030, 0xFF102030, 7, 7,
                                           7, 7}));

    std::vector<uint16_t> converted(2 * 2, 7);
    image->copyToBuffer(converted.data(), 2, 2, COLOR_FORMAT_R5G6B5, 0);
    EXPECT_EQ(converted, std::vector<uint16_t>(4, 0x1106));

    std::vector<uint32_t> shortPitch(2 * 2, 7);
    image->copyToBuffer(shortPitch.data(), 2, 2, COLOR_FORMAT_A8R8G8B8, 4);
    EXPECT_EQ(shortPitch, std::vector<uint32_t>(4, 7));
}

TEST(SoftwareImageTest, NearestNeighbourScaling) {
    // A 3 x 2 image whose pixel (x, y) is 0xFF0000xy.
    auto image = makeImage(COLOR_FORMAT_A8R8G8B8, 3, 2);
    auto* pixels = reinterpret_cast<uint32_t*>(image->getData());
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x)
            pixels[y * 3 + x] = 0xFF000000 | x << 4 | y;

    struct Case {
        int32_t width, height;
        std::vector<uint32_t> picked; // x << 4 | y of every destination pixel
    };
    const Case cases[] = {
        {6, 1, {0x00, 0x00, 0x10, 0x10, 0x20, 0x20}},
        {2, 2, {0x00, 0x10, 0x01, 0x11}},
        {1, 1, {0x00}},
        {7, 3, {0x00, 0x00, 0x00, 0x10, 0x10, 0x20, 0x20, 0x00, 0x00, 0x00, 0x10,
                0x10, 0x20, 0x20, 0x01, 0x01, 0x01, 0x11, 0x11, 0x21, 0x21}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> out(size_t(c.width * c.height), 7);
        image->copyScaledToBuffer(out.data(), c.width, c.height, COLOR_FORMAT_A8R8G8B8, 0);
        for (size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out[i], 0xFF000000 | c.picked[i]) << c.width << "x" << c.height << " " << i;
    }

    std::vector<uint32_t> padded(4 * 2, 7);
    image->copyScaledToBuffer(padded.data(), 3, 2, COLOR_FORMAT_A8R8G8B8, 16);
    EXPECT_EQ(padded[2], 0xFF000020u);
    EXPECT_EQ(padded[3], 0u) << "the rest of each row is cleared";
    EXPECT_EQ(padded[7], 0u);

    std::vector<uint8_t> rgb(2 * 1 * 3, 7);
    image->copyScaledToBuffer(rgb.data(), 2, 1, COLOR_FORMAT_R8G8B8, 0);
    EXPECT_EQ(rgb, (std::vector<uint8_t>{0, 0, 0x00, 0, 0, 0x10}));
}

} // namespace
