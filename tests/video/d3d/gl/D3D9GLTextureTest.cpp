#include <cstring>
#include <string>

#include "tests/video/d3d/gl/D3D9GLFixture.h"

// Textures, render targets and the screen capture of the Direct3D 9 driver as pixels drawn by
// the GL runtime.
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;

class D3D9GLTextureTest : public D3D9GLTest {
protected:
    void SetUp() override {
        D3D9GLTest::SetUp();
        openD3D(kWidth, kHeight);
        ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
    }
};

} // namespace

TEST_F(D3D9GLTextureTest, EveryFormatDrawsItsPixels) {
    struct Case {
        int32_t format;
        int tolerance;
    };
    // R8G8B8 has no Direct3D 9 texture here and comes back as R5G6B5. Texels sampled at their
    // centres may pick up a level of their neighbours.
    const Case cases[] = {{COLOR_FORMAT_A8R8G8B8, 1},
                          {COLOR_FORMAT_R8G8B8, 8},
                          {COLOR_FORMAT_R5G6B5, 8},
                          {COLOR_FORMAT_A1R5G5B5, 8},
                          {COLOR_FORMAT_A4R4G4B4, 17}};
    const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFC08040};
    for (int32_t i = 0; i < int32_t(std::size(cases)); ++i) {
        const Case& c = cases[i];
        CRefPointer<IDriverTexture> texture = d3d->createTexture(
            makeTestImage(
                2, 2, [&](int32_t x, int32_t y) { return colours[y * 2 + x]; }, c.format)
                .get());
        d3d->drawImage(texture.get(), {i * 4, 0});
        for (int32_t k = 0; k < 4; ++k) {
            const uint32_t colour = colours[k];
            expectNear(pixel(i * 4 + k % 2, k / 2),
                       {int(colour >> 16 & 0xFF), int(colour >> 8 & 0xFF), int(colour & 0xFF)},
                       c.tolerance,
                       "format " + std::to_string(c.format) + " texel " + std::to_string(k));
        }
    }
}

// Levels of odd widths have rows of no multiple of four bytes, which GL must not read past.
// Drawn at their size they show the image's colour, and so do level 1 and the last level,
// 1 x 1, in every format on both drivers.
TEST_F(D3D9GLTextureTest, OddSizesOfEveryFormatAndTheirMipLevelsDrawOnBothDrivers) {
    const int32_t formats[] = {COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A4R4G4B4, COLOR_FORMAT_R5G6B5,
                               COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A8R8G8B8};
    const CPixelSize sizes[] = {{10, 6}, {7, 5}, {3, 9}};
    for (const uint32_t driverType : {2u, 1u}) {
        d3d.reset();
        openD3D(kWidth, kHeight, driverType);
        ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
        for (const int32_t format : formats) {
            for (const CPixelSize size : sizes) {
                const std::string where =
                    "driver " + std::to_string(driverType) + " format " + std::to_string(format) +
                    " " + std::to_string(size.width) + "x" + std::to_string(size.height);
                CRefPointer<IDriverTexture> texture =
                    d3d->createTexture(makeTestImage(
                                           int32_t(size.width), int32_t(size.height),
                                           [](int32_t, int32_t) { return 0xFFF0A000u; }, format)
                                           .get());
                ASSERT_TRUE(texture && texture->hasMipLevels()) << where;
                d3d->drawImage(texture.get(), {0, 0});
                expectNear(pixel(0, 0), {240, 160, 0}, 17, where + " level 0");
                const int32_t width = int32_t(size.width);
                const int32_t height = int32_t(size.height);
                d3d->drawImageScaled(texture.get(), {20, 0, 20 + width / 2, height / 2},
                                     {0, 0, width, height}, nullptr, nullptr, false);
                expectNear(pixel(20, 0), {240, 160, 0}, 17, where + " level 1");
                d3d->drawImageScaled(texture.get(), {40, 0, 41, 1}, {0, 0, width, height}, nullptr,
                                     nullptr, false);
                expectNear(pixel(40, 0), {240, 160, 0}, 17, where + " last level");
            }
        }
    }
}

TEST_F(D3D9GLTextureTest, WritesThroughAMapReachTheNextDraw) {
    CRefPointer<IDriverTexture> texture =
        d3d->createTexture(makeTestImage(4, 4, [](int32_t, int32_t) { return 0xFF0000FFu; }).get());
    d3d->drawImage(texture.get(), {0, 0});
    auto* pixels = static_cast<uint8_t*>(texture->mapPixels(false));
    ASSERT_NE(pixels, nullptr);
    storePixel32(pixels + texture->getPitch() + 4, 0xFFFFFF00u);
    texture->unmapPixels();
    d3d->drawImage(texture.get(), {8, 0});
    expectNear(pixel(1, 1), {0, 0, 255}, 1, "before");
    expectNear(pixel(9, 1), {255, 255, 0}, 1, "after");
    expectNear(pixel(10, 1), {0, 0, 255}, 1, "beside");
}

TEST_F(D3D9GLTextureTest, DrawnSmallerATextureSamplesItsMipLevels) {
    // Black and white columns: level 1 is grey throughout.
    CRefPointer<IDriverTexture> texture =
        d3d->createTexture(makeTestImage(8, 8, [](int32_t x, int32_t) {
                               return x % 2 ? 0xFFFFFFFFu : 0xFF000000u;
                           }).get());
    ASSERT_TRUE(texture->hasMipLevels());
    d3d->drawImageScaled(texture.get(), {0, 0, 4, 4}, {0, 0, 8, 8}, nullptr, nullptr, false);
    expectNear(pixel(1, 1), {127, 127, 127}, 2, "level 1");
}

TEST_F(D3D9GLTextureTest, ARenderTargetHoldsWhatWasDrawnIntoIt) {
    CRefPointer<IDriverTexture> target =
        d3d->createRenderTargetTexture({32, 16}, COLOR_FORMAT_A8R8G8B8);
    ASSERT_TRUE(d3d->useRenderTargetTexture(target.get(), true, true, CColor(0xFF0000FF)));
    d3d->applyMaterial(flatMaterial());
    d3d->drawRect(CColor(0xFFFF0000), {0, 0, 8, 4}, nullptr);
    ASSERT_TRUE(d3d->useRenderTargetTexture(nullptr, false, false, CColor()));
    // Read back: its first row is its top.
    const auto* texels = static_cast<const uint8_t*>(target->mapPixels(true));
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(loadPixel32(texels), 0xFFFF0000u);
    EXPECT_EQ(loadPixel32(texels + target->getPitch() * 4), 0xFF0000FFu);
    EXPECT_EQ(loadPixel32(texels + 8 * 4), 0xFF0000FFu);
    target->unmapPixels();
    // Drawn on the screen the right way up.
    d3d->drawImage(target.get(), {10, 10});
    expectNear(pixel(10, 10), {255, 0, 0}, 1, "top left");
    expectNear(pixel(17, 13), {255, 0, 0}, 1, "red corner");
    expectNear(pixel(10, 14), {0, 0, 255}, 1, "below it");
    expectNear(pixel(41, 25), {0, 0, 255}, 1, "bottom right");
    expectNear(pixel(42, 10), {0, 0, 0}, 0, "beside");
}

TEST_F(D3D9GLTextureTest, TheCaptureShowsThePresentedFrame) {
    d3d->applyMaterial(flatMaterial());
    d3d->drawRect(CColor(0xFF20C040), {4, 6, 20, 16}, nullptr);
    ASSERT_TRUE(d3d->presentFrame());
    CRefPointer<CSoftwareImage> capture = d3d->captureScreen();
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture->getWidth(), kWidth);
    EXPECT_EQ(capture->pixelAt(4, 6).value, 0xFF20C040u);
    EXPECT_EQ(capture->pixelAt(19, 15).value, 0xFF20C040u);
    EXPECT_EQ(capture->pixelAt(20, 15).value, 0xFF000000u);
    EXPECT_EQ(capture->pixelAt(3, 6).value, 0xFF000000u);
}

// Without mip levels an image goes to GL as it stands, with no copy in memory: a map, before the
// first draw or after it, reads back what GL holds, and a write through it reaches the next draw
// with the rest kept, on both drivers.
TEST_F(D3D9GLTextureTest, AnImageSentWithoutACopyIsReadBackByAMap) {
    const auto colour = [](int32_t x, int32_t y) {
        return 0xFF000000u | uint32_t(x * 60 << 16 | y * 60);
    };
    for (const uint32_t driverType : {2u, 1u}) {
        for (const int32_t format : {COLOR_FORMAT_A8R8G8B8, COLOR_FORMAT_R5G6B5}) {
            const std::string where =
                "driver " + std::to_string(driverType) + " format " + std::to_string(format);
            d3d.reset();
            openD3D(kWidth, kHeight, driverType);
            ASSERT_TRUE(d3d->startFrame(true, true, CColor(0xFF000000), nullptr, nullptr));
            d3d->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
            const CRefPointer<CSoftwareImage> image = makeTestImage(4, 4, colour, format);
            CRefPointer<IDriverTexture> texture = d3d->createTexture(image.get());
            ASSERT_TRUE(texture && texture->getColorFormat() == format) << where;
            ASSERT_EQ(texture->getPitch(), uint32_t(image->getPitch())) << where;
            for (const bool drawn : {false, true}) {
                const auto* texels = static_cast<const uint8_t*>(texture->mapPixels(true));
                ASSERT_NE(texels, nullptr) << where;
                EXPECT_EQ(std::memcmp(texels, image->getData(), image->getBufferSize()), 0)
                    << where << (drawn ? " after the draw" : " before the draw");
                texture->unmapPixels();
                d3d->drawImage(texture.get(), {0, 0});
            }
            auto* pixels = static_cast<uint8_t*>(texture->mapPixels(false));
            ASSERT_NE(pixels, nullptr) << where;
            std::memset(pixels + texture->getPitch() + uint32_t(image->getBytesPerPixel()), 0xFF,
                        size_t(image->getBytesPerPixel()));
            texture->unmapPixels();
            d3d->drawImage(texture.get(), {8, 0});
            expectNear(pixel(9, 1), {255, 255, 255}, 1, where + " written");
            expectNear(pixel(10, 1), {120, 0, 60}, 8, where + " kept");
            expectNear(pixel(2, 1), {120, 0, 60}, 8, where + " first draw");
        }
    }
}

// Sending an image to GL binds its texture for a moment: a stage that drew without a texture
// still draws white afterwards.
TEST_F(D3D9GLTextureTest, AnImageSentBetweenDrawsLeavesTheStagesAsTheyWere) {
    d3d->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
    d3d->applyMaterial(flatMaterial());
    d3d->drawRect(CColor(0xFF00FF00), {0, 0, 4, 4}, nullptr);
    CRefPointer<IDriverTexture> texture =
        d3d->createTexture(makeTestImage(4, 4, [](int32_t, int32_t) { return 0xFFFF0000u; }).get());
    d3d->drawRect(CColor(0xFF00FF00), {8, 0, 12, 4}, nullptr);
    expectNear(pixel(1, 1), {0, 255, 0}, 1, "before the image was sent");
    expectNear(pixel(9, 1), {0, 255, 0}, 1, "after the image was sent");
}
