#include <gtest/gtest.h>

#include <cstring>

#include "engine/video/QuadBatcher.h"
#include "video/opengl/GLDriverFixture.h"

// Textures of the OpenGL driver: formats, padding, mip levels, mapping, colour keys and render
// targets, on Mesa's software renderer and on the scripted GL.
namespace {

using OpenGLTextureTest = GLDriverTest;

uint32_t rgb(CColor color) {
    return color.value & 0xFFFFFF;
}

uint32_t patternTexel(int32_t x, int32_t y) {
    return 0xFF000000u | uint32_t(40 + x * 50) << 16 | uint32_t(30 + y * 60) << 8 | 0x90u;
}

// Draws the texture at its size at the position through the quad batch, blended by alpha.
void drawSprite(COpenGLRenderDriver& driver, CImageTexture* texture, float x, float y, float w,
                float h) {
    RenderMaterial material = flatMaterial(MATERIAL_TRANS_ALPHACH_VERTEXALPHA);
    material.layerCount = 1;
    material.layers[0].texture = texture;
    const CVector2d corners[4] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
    const CVector2d texCoords[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    CQuadBatcher& batch = *driver.getQuadBatcher();
    batch.addQuad(&material, corners, texCoords, 0, CColor(0xFFFFFFFF));
    batch.flush();
}

TEST_F(OpenGLTextureTest, EveryUploadFormatReadsBackAndDraws) {
    open();
    begin2D();
    const int32_t formats[] = {COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A4R4G4B4, COLOR_FORMAT_R5G6B5,
                               COLOR_FORMAT_R8G8B8, COLOR_FORMAT_A8R8G8B8};
    int32_t x = 0;
    for (const int32_t format : formats) {
        CRefPointer<CSoftwareImage> image = makeTestImage(4, 3, patternTexel, format);
        CRefPointer<IDriverTexture> texture = driver->createTexture(image.get());
        EXPECT_EQ(texture->getColorFormat(), format);
        EXPECT_EQ(texture->getPitch(), uint32_t(image->getPitch()));
        const void* texels = texture->mapPixels(true);
        ASSERT_NE(texels, nullptr);
        EXPECT_EQ(std::memcmp(texels, image->getData(), image->getBufferSize()), 0) << format;
        texture->unmapPixels();
        driver->drawImage(texture.get(), {x, 0});
        // GL widens short channels by repeating their bits; the image's rule shifts some.
        const int tolerance = format == COLOR_FORMAT_A4R4G4B4 ? 16 : 8;
        for (int32_t ty = 0; ty < 3; ++ty) {
            for (int32_t tx = 0; tx < 4; ++tx) {
                EXPECT_TRUE(nearColor(pixel(x + tx, ty), image->pixelAt(tx, ty), tolerance))
                    << "format " << format << " texel " << tx << "," << ty;
            }
        }
        x += 8;
    }
}

TEST_F(OpenGLTextureTest, PreferringSixteenBitsStoresArgbAsFourBitsAChannel) {
    open();
    driver->setTextureOption(TEXTURE_PREFER_16_BIT, true);
    CRefPointer<IDriverTexture> texture = driver->createTexture(
        makeTestImage(2, 2, [](int32_t, int32_t) { return 0x80FF4010u; }).get());
    EXPECT_EQ(texture->getColorFormat(), COLOR_FORMAT_A4R4G4B4);
    const void* texels = texture->mapPixels(true);
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(loadPixel16(static_cast<const uint8_t*>(texels)), 0x8F41);
    texture->unmapPixels();
}

TEST_F(OpenGLTextureTest, PaddingToPowersOfTwoKeepsTheImageTopLeftAndZerosTheRest) {
    struct Case {
        bool nonSquare;
        CPixelSize storage;
    };
    const Case cases[] = {{true, {128, 64}}, {false, {128, 128}}};
    open();
    driver->setFeatureEnabled(FEATURE_NON_POWER_OF_TWO_TEXTURES, false);
    for (const Case& c : cases) {
        driver->setFeatureEnabled(FEATURE_NON_SQUARE_TEXTURES, c.nonSquare);
        CRefPointer<IDriverTexture> texture =
            driver->createTexture(makeTestImage(100, 60, [](int32_t x, int32_t y) {
                                      return 0xFF000000u | uint32_t(x) << 16 | uint32_t(y);
                                  }).get());
        EXPECT_EQ(texture->getSourceSize(), (CPixelSize{100, 60}));
        ASSERT_EQ(texture->getSize(), c.storage);
        const auto* texels = static_cast<const uint8_t*>(texture->mapPixels(true));
        ASSERT_NE(texels, nullptr);
        const uint32_t pitch = c.storage.width * 4;
        EXPECT_EQ(loadPixel32(texels + 59 * pitch + 99 * 4), 0xFF630000u | 59u);
        EXPECT_EQ(loadPixel32(texels + 59 * pitch + 100 * 4), 0u);
        EXPECT_EQ(loadPixel32(texels + 60 * pitch), 0u);
        texture->unmapPixels();
    }
}

TEST_F(OpenGLTextureTest, ThePitchIsTheKeptImagesAndZeroWithoutOne) {
    open();
    driver->setFeatureEnabled(FEATURE_NON_POWER_OF_TWO_TEXTURES, false);
    const CRefPointer<CSoftwareImage> image =
        makeTestImage(100, 60, [](int32_t, int32_t) { return 0xFF102030u; });
    CRefPointer<IDriverTexture> kept = driver->createTexture(image.get());
    ASSERT_EQ(kept->getSize(), (CPixelSize{128, 64}));
    EXPECT_EQ(kept->getPitch(), 400u);
    kept->dropSourceImage();
    EXPECT_EQ(kept->getPitch(), 0u);
    driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, true);
    EXPECT_EQ(driver->createTexture(image.get())->getPitch(), 0u);
}

// The limit as the implementation tells it: a texture beyond it keeps its top-left part and
// says so; an upload the implementation refuses all the same is logged.
TEST_F(OpenGLTextureTest, TexturesBeyondTheLimitAreCutToItAndSaySo) {
    struct Case {
        GLint limit;
        CPixelSize image;
        CPixelSize storage;
        const char* logged;
    };
    const Case cases[] = {
        {64, {100, 60}, {64, 60}, "WRN: Texture of 100 x 60 is larger than OpenGL allows (64)"},
        {1 << 20, {40000, 1}, {40000, 1}, "ERR: Could not upload OpenGL texture, error 1281"},
    };
    const auto redThenBlue = [](int32_t x, int32_t) { return x < 2 ? 0xFFFF0000u : 0xFF0000FFu; };
    for (const Case& c : cases) {
        configureRecorder = [&](RecordingGL& gl) { gl.integers[GL_MAX_TEXTURE_SIZE] = c.limit; };
        open(glParameters(), true);
        begin2D();
        CRefPointer<IDriverTexture> texture;
        const std::string log = captureLog([&] {
            texture = driver->createTexture(
                makeTestImage(int32_t(c.image.width), int32_t(c.image.height), redThenBlue).get());
        });
        EXPECT_EQ(texture->getSize(), c.storage) << c.limit;
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
        if (c.storage.width > 64)
            continue;
        driver->drawImagePart(texture.get(), {0, 0}, {0, 0, 8, 8}, nullptr, CColor(0xFFFFFFFF),
                              false);
        EXPECT_EQ(rgb(pixel(1, 1)), 0xFF0000u) << "the image's top-left part is kept";
        EXPECT_EQ(rgb(pixel(5, 1)), 0x0000FFu);
    }
}

TEST_F(OpenGLTextureTest, MipLevelsBuiltByTheDriverCompleteTheChain) {
    open(glParameters(), true);
    driver->setFeatureEnabled(FEATURE_NON_POWER_OF_TWO_TEXTURES, false);
    driver->setFeatureEnabled(FEATURE_AUTO_MIP_MAPS, false);
    recorder->calls.clear();
    CRefPointer<CSoftwareImage> red =
        makeTestImage(100, 60, [](int32_t, int32_t) { return 0xFFFF0000u; });
    CImageTexture* texture = imageTexture(red);
    const std::vector<std::string> uploads = recorder->callsStartingWith("TexImage2D");
    ASSERT_EQ(uploads.size(), 8u) << "128 x 64 down to 1 x 1";
    EXPECT_EQ(uploads[1].rfind(glCall("TexImage2D", GL_TEXTURE_2D, 1, GL_RGBA, 64, 32), 0), 0u);
    EXPECT_EQ(uploads[7].rfind(glCall("TexImage2D", GL_TEXTURE_2D, 7, GL_RGBA, 1, 1), 0), 0u);
    begin2D();
    drawSprite(*driver, texture, 10, 10, 6, 4);
    EXPECT_EQ(rgb(pixel(12, 12)), 0xFF0000u) << "a minified image samples the smaller levels";

    recorder->calls.clear();
    imageTexture(makeTestImage(1, 1, [](int32_t, int32_t) { return 0xFFFFFFFFu; }));
    EXPECT_EQ(recorder->callsStartingWith("TexImage2D").size(), 1u) << "1 x 1 has one level";
}

TEST_F(OpenGLTextureTest, MappingReadsOnceWritesBackOnlyWhatMayChange) {
    open(glParameters(), true);
    begin2D();
    CRefPointer<IDriverTexture> texture =
        driver->createTexture(makeTestImage(4, 4, patternTexel).get());
    recorder->calls.clear();
    ASSERT_NE(texture->mapPixels(true), nullptr);
    texture->unmapPixels();
    ASSERT_NE(texture->mapPixels(false), nullptr);
    EXPECT_EQ(recorder->callsStartingWith("GetTexImage").size(), 1u) << "read from GL once";
    EXPECT_TRUE(recorder->callsStartingWith("TexSubImage2D").empty())
        << "read-only uploads nothing";
    texture->unmapPixels();
    EXPECT_EQ(recorder->callsStartingWith("TexSubImage2D").size(), 1u);

    driver->drawImage(texture.get(), {0, 0});
    EXPECT_EQ(pixel(3, 0).value, patternTexel(3, 0))
        << "a map and unmap leave the texels as they were";
    EXPECT_EQ(pixel(0, 3).value, patternTexel(0, 3));
    auto* texels = static_cast<uint8_t*>(texture->mapPixels(false));
    storePixel32(texels + 3 * 4 * 4, 0xFF00FF00u);
    texture->unmapPixels();
    driver->drawImage(texture.get(), {0, 0});
    EXPECT_EQ(pixel(0, 3).value, 0xFF00FF00u) << "what was written is drawn";
}

// Whether or not the texture keeps its image, the key reaches every texel.
TEST_F(OpenGLTextureTest, ColourKeysWorkOnSixteenBitAndPaddedTextures) {
    open();
    driver->setFeatureEnabled(FEATURE_NON_POWER_OF_TWO_TEXTURES, false);
    begin2D(CColor(0xFF0000FF));
    const auto stripes = [](int32_t x, int32_t) { return x % 2 ? 0xFFFF00FFu : 0xFFFFFFFFu; };
    int32_t x = 0;
    for (const bool release : {false, true}) {
        driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, release);
        for (const int32_t format : {COLOR_FORMAT_A1R5G5B5, COLOR_FORMAT_A8R8G8B8}) {
            CRefPointer<IDriverTexture> texture =
                driver->createTexture(makeTestImage(6, 3, stripes, format).get());
            driver->makeColorKey(texture.get(), CColor(0xFFFF00FF));
            driver->drawImagePart(texture.get(), {x, 0}, {0, 0, 6, 3}, nullptr, CColor(0xFFFFFFFF),
                                  true);
            EXPECT_EQ(rgb(pixel(x, 2)), 0xFFFFFFu) << format << release;
            EXPECT_EQ(rgb(pixel(x + 1, 2)), 0x0000FFu)
                << "keyed texels are transparent " << format << release;
            EXPECT_EQ(rgb(pixel(x + 5, 2)), 0x0000FFu) << format << release;
            x += 10;
        }
    }
}

// Draws a red square into the top-left quarter of a 32 x 32 target cleared to green, then the
// target on the screen: upright as an image, as a sprite and when mapped.
TEST_F(OpenGLTextureTest, RenderTargetsAreUprightEverywhere) {
    for (const bool frameBufferObjects : {true, false}) {
        open();
        driver->setFeatureEnabled(FEATURE_FRAME_BUFFER_OBJECTS, frameBufferObjects);
        driver->applyMaterial(flatMaterial());
        begin2D();
        CRefPointer<IDriverTexture> target =
            driver->createRenderTargetTexture({32, 32}, COLOR_FORMAT_A8R8G8B8);
        ASSERT_TRUE(target);
        EXPECT_TRUE(target->isRenderTarget());
        EXPECT_FALSE(target->hasMipLevels());
        ASSERT_TRUE(driver->useRenderTargetTexture(target.get(), true, true, CColor(0xFF00FF00)));
        EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{32, 32}));
        driver->drawRect(CColor(0xFFFF0000), {0, 0, 16, 16}, nullptr);
        ASSERT_TRUE(driver->useRenderTargetTexture(nullptr, true, true, CColor(0xFF000000)));
        EXPECT_EQ(driver->getRenderTargetSize(), (CPixelSize{64, 48}));

        driver->drawImagePart(target.get(), {0, 0}, {0, 0, 32, 32}, nullptr, CColor(0xFFFFFFFF),
                              false);
        EXPECT_EQ(rgb(pixel(2, 2)), 0xFF0000u) << frameBufferObjects;
        EXPECT_EQ(rgb(pixel(2, 20)), 0x00FF00u) << frameBufferObjects;
        EXPECT_EQ(rgb(pixel(20, 2)), 0x00FF00u) << frameBufferObjects;
        CRefPointer<CImageTexture> holder(new CImageTexture(CContentKey(), u"", target.get()));
        drawSprite(*driver, holder.get(), 32, 0, 32, 32);
        EXPECT_EQ(rgb(pixel(34, 2)), 0xFF0000u) << frameBufferObjects;
        EXPECT_EQ(rgb(pixel(34, 20)), 0x00FF00u) << frameBufferObjects;
        const auto* texels = static_cast<const uint8_t*>(target->mapPixels(true));
        ASSERT_NE(texels, nullptr);
        EXPECT_EQ(loadPixel32(texels + 2 * 32 * 4 + 8) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(loadPixel32(texels + 20 * 32 * 4 + 8) & 0xFFFFFF, 0x00FF00u);
        target->unmapPixels();
    }
}

// Float targets store more than a byte a channel; mapped, their texels are bytes all the same.
TEST_F(OpenGLTextureTest, FloatRenderTargetsMapAsEightBitTexels) {
    open();
    driver->applyMaterial(flatMaterial());
    begin2D();
    for (const int32_t code : {7, 10}) {
        CRefPointer<IDriverTexture> target = driver->createRenderTargetTexture({8, 8}, code);
        ASSERT_TRUE(target) << code;
        ASSERT_TRUE(driver->useRenderTargetTexture(target.get(), true, true, CColor(0xFF0000FF)));
        driver->drawRect(CColor(0xFFFF0000), {0, 0, 8, 4}, nullptr);
        driver->useRenderTargetTexture(nullptr, false, false, CColor());
        const auto* texels = static_cast<const uint8_t*>(target->mapPixels(true));
        ASSERT_NE(texels, nullptr) << code;
        EXPECT_EQ(loadPixel32(texels + 7 * 4), 0xFFFF0000u) << code;
        EXPECT_EQ(loadPixel32(texels + 7 * 32 + 7 * 4), 0xFF0000FFu) << code;
        target->unmapPixels();
    }
}

TEST(OpenGLRenderTargetTest, WithoutFrameBufferObjectsTargetsFitTheScreen) {
    struct Case {
        CPixelSize asked;
        CPixelSize made;
    };
    const Case cases[] = {
        {{1024, 1024}, {512, 512}},
        {{1000, 700}, {800, 600}},
        {{256, 64}, {256, 64}},
    };
    RecordingGL gl;
    gl.hiddenExtensions = {"GL_EXT_framebuffer_object"};
    CreationParameters parameters = glParameters(800, 600);
    parameters.windowHandle = 1;
    CRefPointer<COpenGLRenderDriver> driver =
        COpenGLRenderDriver::create(parameters, nullptr, nullptr, gl);
    for (const Case& c : cases) {
        CRefPointer<IDriverTexture> target =
            driver->createRenderTargetTexture(c.asked, COLOR_FORMAT_A8R8G8B8);
        ASSERT_TRUE(target);
        EXPECT_EQ(target->getSourceSize(), c.made) << c.asked.width;
        EXPECT_TRUE(driver->getTextureOption(TEXTURE_CREATE_MIP_MAPS)) << "restored";
    }
}

TEST(OpenGLRenderTargetTest, IncompleteFrameBuffersAreNamedAndLeaveNothingBehind) {
    struct Case {
        GLenum status;
        const char* message;
    };
    const Case cases[] = {
        {GL_FRAMEBUFFER_UNSUPPORTED_EXT, "ERR: FBO format unsupported"},
        {GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT,
         "ERR: FBO has one or several incomplete image attachments"},
        {GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT, "ERR: FBO missing an image attachment"},
        {GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT,
         "ERR: FBO has one or several image attachments with different dimensions"},
        {GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT,
         "ERR: FBO has one or several image attachments with different internal formats"},
        {GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT, "ERR: FBO has invalid draw buffer"},
        {GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT, "ERR: FBO has invalid read buffer"},
        {0x1234, "ERR: FBO error"},
    };
    for (const Case& c : cases) {
        RecordingGL gl;
        gl.framebufferStatus = c.status;
        CreationParameters parameters = glParameters();
        parameters.windowHandle = 1;
        CRefPointer<COpenGLRenderDriver> driver =
            COpenGLRenderDriver::create(parameters, nullptr, nullptr, gl);
        gl.calls.clear();
        CRefPointer<IDriverTexture> target;
        const std::string log = captureLog([&] {
            target = driver->createRenderTargetTexture({16, 16}, COLOR_FORMAT_A8R8G8B8);
        });
        EXPECT_FALSE(target);
        EXPECT_NE(log.find(c.message), std::string::npos) << c.message;
        EXPECT_NE(log.find("ERR: FBO error"), std::string::npos) << c.message;
        EXPECT_NE(log.find("INF: FBO incomplete"), std::string::npos) << c.message;
        EXPECT_EQ(gl.callsStartingWith("DeleteTextures").size(), 1u);
        EXPECT_EQ(gl.callsStartingWith("DeleteFramebuffersEXT").size(), 1u);
        EXPECT_EQ(gl.callsStartingWith("DeleteRenderbuffersEXT").size(), 1u);
        EXPECT_EQ(gl.callsStartingWith("BindFramebufferEXT").back(),
                  glCall("BindFramebufferEXT", GL_FRAMEBUFFER_EXT, 0))
            << "drawing goes back to the window";
    }
}

} // namespace
