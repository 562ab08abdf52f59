#include <cstring>
#include <string>

#include "engine/video/SoftwareImage.h"
#include "engine/video/d3d/D3D9DriverTexture.h"
#include "engine/video/d3d/host/MemoryTexture9.h"
#include "tests/video/d3d/D3DDriverFixture.h"

// Textures of the Direct3D 9 driver on the fake runtime, whose textures keep their levels in
// memory.
namespace {

class D3D9DriverTextureTest : public D3D9DriverTest {
protected:
    CRefPointer<IDriverTexture> textureOf(CSoftwareImage* image) {
        device();
        CRefPointer<IDriverTexture> texture;
        lastLog = captureLog([&] { texture = driver->createTexture(image); });
        return texture;
    }

    // The 32-bit pixel (x, y) of a level.
    static uint32_t texel(IDriverTexture& texture, uint32_t level, uint32_t x, uint32_t y) {
        IDirect3DTexture9* d3d = static_cast<CD3D9DriverTexture&>(texture).getD3DTexture();
        CPixelMemory9* memory = static_cast<CMemoryTexture9*>(d3d)->levelMemory(level);
        return loadPixel32(memory->getBits() + y * memory->getPitch() + x * 4);
    }

    std::string lastLog;
};

uint32_t opaqueWhite(int32_t, int32_t) {
    return 0xFFFFFFFF;
}

} // namespace

TEST_F(D3D9DriverTextureTest, StorageFollowsTheDeviceLimits) {
    struct Case {
        uint32_t textureCaps;
        uint32_t maxWidth;
        CPixelSize storage;
    };
    const Case cases[] = {
        {D3DPTEXTURECAPS_MIPMAP, 4096, {100, 30}},
        {D3DPTEXTURECAPS_POW2, 4096, {128, 32}},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 4096, {128, 128}},
        {D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 64, {64, 64}},
    };
    for (const Case& c : cases) {
        runtime.script.caps.TextureCaps = c.textureCaps;
        runtime.script.caps.MaxTextureWidth = c.maxWidth;
        driver.reset();
        CRefPointer<IDriverTexture> texture = textureOf(makeTestImage(100, 30, opaqueWhite).get());
        EXPECT_EQ(texture->getSize(), c.storage) << c.textureCaps << " " << c.maxWidth;
        EXPECT_EQ(texture->getSourceSize(), (CPixelSize{100, 30}));
        EXPECT_EQ(texture->getPitch(), c.storage.width * 4);
        EXPECT_TRUE(runtime.logged("CreateTexture(" + std::to_string(c.storage.width) + ", " +
                                   std::to_string(c.storage.height) + ", 0, 0, 21, 1)"));
    }
}

// A texture beyond the device's limit keeps the image's top-left part, and says so once.
TEST_F(D3D9DriverTextureTest, ImagesBeyondTheDeviceLimitKeepTheirTopLeftPart) {
    runtime.script.caps.MaxTextureWidth = 64;
    CRefPointer<IDriverTexture> texture =
        textureOf(makeTestImage(100, 70, [](int32_t x, int32_t y) {
                      return x < 2 && y < 2 ? 0xFFFF0000u : 0xFF0000FFu;
                  }).get());
    ASSERT_EQ(texture->getSize(), (CPixelSize{64, 64}));
    EXPECT_EQ(texel(*texture, 0, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(texel(*texture, 0, 2, 1), 0xFF0000FFu);
    EXPECT_EQ(texel(*texture, 0, 63, 63), 0xFF0000FFu);
    EXPECT_EQ(texel(*texture, 1, 0, 0), 0xFFFF0000u) << "the levels filter the part kept";
    const std::string warning = "WRN: Texture of 100 x 70 is larger than Direct3D allows (64); "
                                "only its top-left part is kept.";
    EXPECT_TRUE(contains(lastLog, warning)) << lastLog;
    EXPECT_EQ(lastLog.find(warning), lastLog.rfind(warning));
}

TEST_F(D3D9DriverTextureTest, RefusedFormatsFallBackToSixteenBits) {
    struct Case {
        int32_t imageFormat;
        uint32_t refused;
        int32_t colorFormat;
    };
    const Case cases[] = {{COLOR_FORMAT_R8G8B8, D3DFMT_R8G8B8, COLOR_FORMAT_R5G6B5},
                          {COLOR_FORMAT_A8R8G8B8, D3DFMT_A8R8G8B8, COLOR_FORMAT_A1R5G5B5},
                          {COLOR_FORMAT_A4R4G4B4, 0, COLOR_FORMAT_A4R4G4B4}};
    for (const Case& c : cases) {
        runtime.script.refusedTextureFormats = {c.refused};
        driver.reset();
        CRefPointer<IDriverTexture> texture =
            textureOf(makeTestImage(2, 2, opaqueWhite, c.imageFormat).get());
        ASSERT_NE(static_cast<CD3D9DriverTexture&>(*texture).getD3DTexture(), nullptr);
        EXPECT_EQ(texture->getColorFormat(), c.colorFormat) << c.imageFormat;
        EXPECT_EQ(texture->getPitch(), 4u) << c.imageFormat;
    }
    runtime.script.refusedTextureFormats = {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5};
    driver.reset();
    CRefPointer<IDriverTexture> texture = textureOf(makeTestImage(2, 2, opaqueWhite).get());
    EXPECT_TRUE(contains(lastLog, "Could not create DIRECT3D9 Texture."));
    EXPECT_EQ(texture->mapPixels(false), nullptr);
}

TEST_F(D3D9DriverTextureTest, MipLevelsAverageTwoByTwoAndStopAtOnePixel) {
    // Columns alternate between black and white, rows between opaque and clear.
    CRefPointer<IDriverTexture> texture =
        textureOf(makeTestImage(4, 4, [](int32_t x, int32_t y) {
                      return (y % 2 ? 0x00000000u : 0xFF000000u) | (x % 2 ? 0xFFFFFFu : 0);
                  }).get());
    ASSERT_TRUE(texture->hasMipLevels());
    EXPECT_TRUE(runtime.logged("CreateTexture(4, 4, 0, 0, 21, 1)"));
    EXPECT_EQ(texel(*texture, 1, 0, 0), 0x7F7F7F7Fu);
    EXPECT_EQ(texel(*texture, 1, 1, 1), 0x7F7F7F7Fu);
    EXPECT_EQ(texel(*texture, 2, 0, 0), 0x7F7F7F7Fu);
    EXPECT_FALSE(contains(lastLog, "mip map"));

    // A one-pixel image has no level to fill: one warning, still a mip-mapped texture.
    texture = textureOf(makeTestImage(1, 1, opaqueWhite).get());
    EXPECT_TRUE(texture->hasMipLevels());
    EXPECT_EQ(lastLog.find("Could not get lower surface level for mip map generation"),
              lastLog.rfind("Could not get lower surface level for mip map generation"));
    EXPECT_TRUE(contains(lastLog, "Could not get lower surface level for mip map generation"));

    // One pixel high: every level averages its row with itself, down to 1 x 1.
    texture = textureOf(makeTestImage(8, 1, [](int32_t x, int32_t) {
                            return x < 4 ? 0xFF000000u : 0xFFFFFFFFu;
                        }).get());
    EXPECT_EQ(texel(*texture, 1, 0, 0), 0xFF000000u);
    EXPECT_EQ(texel(*texture, 2, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(texel(*texture, 3, 0, 0), 0xFF7F7F7Fu);
}

// Columns alternate between black and white: every level below is grey, down to 1 x 1.
TEST_F(D3D9DriverTextureTest, SixteenBitLevelsOfEveryFormatAreFiltered) {
    struct Case {
        int32_t format;
        uint16_t grey;
    };
    const Case cases[] = {
        // (0 + 248) / 2 = 124 red and blue, (0 + 252) / 2 = 126 green.
        {COLOR_FORMAT_R5G6B5, uint16_t(15 << 11 | 31 << 5 | 15)},
        // 127 in every channel, and the alpha bit of the opaque pixels.
        {COLOR_FORMAT_A1R5G5B5, uint16_t(0x8000 | 15 << 10 | 15 << 5 | 15)},
        // (0 + 0 + 15 + 15) / 4 = 7 in every colour, opaque.
        {COLOR_FORMAT_A4R4G4B4, uint16_t(0xF777)},
    };
    for (const Case& c : cases) {
        CRefPointer<IDriverTexture> texture = textureOf(
            makeTestImage(
                4, 4, [](int32_t x, int32_t) { return x % 2 ? 0xFFFFFFFFu : 0xFF000000u; },
                c.format)
                .get());
        ASSERT_EQ(texture->getColorFormat(), c.format);
        IDirect3DTexture9* d3d = static_cast<CD3D9DriverTexture&>(*texture).getD3DTexture();
        for (uint32_t level = 1; level <= 2; ++level) {
            CPixelMemory9* memory = static_cast<CMemoryTexture9*>(d3d)->levelMemory(level);
            EXPECT_EQ(loadPixel16(memory->getBits()), c.grey) << c.format << " " << level;
        }
        EXPECT_FALSE(contains(lastLog, "mip")) << lastLog;
    }
}

TEST_F(D3D9DriverTextureTest, LevelZeroWrittenThroughAMapRebuildsTheLevels) {
    CRefPointer<IDriverTexture> texture = textureOf(makeTestImage(2, 2, opaqueWhite).get());
    auto* pixels = static_cast<uint8_t*>(texture->mapPixels(false));
    ASSERT_NE(pixels, nullptr);
    std::memset(pixels, 0, texture->getPitch() * 2);
    texture->unmapPixels();
    EXPECT_EQ(texel(*texture, 1, 0, 0), 0xFFFFFFFFu);
    texture->regenerateMipLevels();
    EXPECT_EQ(texel(*texture, 1, 0, 0), 0u);
}

TEST_F(D3D9DriverTextureTest, OptionSixteenDropsTheImageAfterTheUpload) {
    device();
    CRefPointer<CSoftwareImage> image = makeTestImage(2, 2, opaqueWhite);
    EXPECT_EQ(driver->createTexture(image.get())->getSourceImage(), image.get());
    driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, true);
    CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
    EXPECT_EQ(texture->getSourceImage(), nullptr);
    EXPECT_EQ(texel(*texture, 0, 1, 1), 0xFFFFFFFFu);
}

TEST_F(D3D9DriverTextureTest, RenderTargetsTakeTheirFormatAndReportRefusals) {
    device();
    struct Case {
        int32_t format;
        HRESULT refusal;
        const char* created;
        const char* message;
    };
    const Case cases[] = {
        {COLOR_FORMAT_A8R8G8B8, D3D_OK, "CreateTexture(64, 32, 1, 1, 21, 0)", nullptr},
        // Format 12 is the back buffer's, whose X8R8G8B8 counts as A8R8G8B8.
        {12, D3D_OK, "CreateTexture(64, 32, 1, 1, 21, 0)", nullptr},
        {COLOR_FORMAT_A4R4G4B4, D3D_OK, "CreateTexture(64, 32, 1, 1, 0, 0)",
         "Could not create render target texture: Invalid Call"},
        {COLOR_FORMAT_R5G6B5, D3DERR_OUTOFVIDEOMEMORY, "CreateTexture(64, 32, 1, 1, 23, 0)",
         "Could not create render target texture: Out of Video Memory"},
        {COLOR_FORMAT_R5G6B5, E_OUTOFMEMORY, nullptr,
         "Could not create render target texture: Out of Memory"},
        {COLOR_FORMAT_R5G6B5, D3DERR_NOTAVAILABLE, nullptr,
         "Could not create render target texture"},
    };
    for (const Case& c : cases) {
        runtime.script.renderTargetResult = c.refusal;
        runtime.log.clear();
        CRefPointer<IDriverTexture> target;
        const std::string log = captureLog([&] {
            target = driver->createRenderTargetTexture({64, 32}, c.format);
        });
        ASSERT_TRUE(target);
        EXPECT_TRUE(target->isRenderTarget());
        if (c.created) {
            EXPECT_TRUE(runtime.logged(c.created)) << c.format;
        }
        if (c.message) {
            EXPECT_TRUE(contains(log, c.message)) << c.format << log;
            EXPECT_EQ(target->mapPixels(true), nullptr);
        } else {
            EXPECT_EQ(target->getColorFormat(), COLOR_FORMAT_A8R8G8B8);
        }
    }
}

TEST_F(D3D9DriverTextureTest, ARenderTargetIsReadBackThroughOneSystemMemoryCopy) {
    device();
    CRefPointer<IDriverTexture> target =
        driver->createRenderTargetTexture({8, 4}, COLOR_FORMAT_A8R8G8B8);
    for (int i = 0; i < 2; ++i) {
        const auto* pixels = static_cast<const uint8_t*>(target->mapPixels(true));
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(loadPixel32(pixels + target->getPitch() * 3 + 28), 0x11111111u);
        target->unmapPixels();
    }
    EXPECT_EQ(runtime.count("CreateOffscreenPlainSurface(8, 4, 21, 2)"), 1u);
    EXPECT_EQ(runtime.count("GetRenderTargetData("), 2u);
}
