#include "engine/video/ImageTextureProcessor.h"

#include <gtest/gtest.h>

#include "engine/video/AtlasTexture.h"
#include "video/VideoContentFixture.h"

namespace {

using ImageTextureProcessorTest = VideoContentTest;

// The atlas texture keeps its page; the page gets a texture from each new driver.
TEST_F(ImageTextureProcessorTest, DriverChangeRebuildsImageTextures) {
    writeImage("images/a.png", 4, 2);
    const CRefPointer<CAtlasTexture> sprite = load<CAtlasTexture>("atex", "images/a.png");
    ASSERT_TRUE(sprite && sprite->getDriverTexture());

    removeDriver();
    EXPECT_EQ(sprite->getDriverTexture(), nullptr);

    CRefPointer<RecordingRenderDriver> next(new RecordingRenderDriver());
    next->kind = DRIVER_KIND_OPENGL;
    createDriver(next);
    ASSERT_EQ(next->textureImages.size(), 1u);
    EXPECT_EQ(next->textureImages[0]->getWidth(), 4);
    ASSERT_TRUE(sprite->getDriverTexture());
    EXPECT_EQ(sprite->getDriverTexture()->getSize(), (CPixelSize{4, 2}));
    EXPECT_EQ(sprite->getDriverTexture()->getSourceImage(), next->textureImages[0].get());
}

TEST_F(ImageTextureProcessorTest, NullDriverMakesNoTextures) {
    writeImage("images/a.png", 4, 2);
    const CRefPointer<CImageTexture> page = load<CImageTexture>("itex", "images/a.png");
    ASSERT_TRUE(page);

    removeDriver();
    createDriver(CRefPointer<RecordingRenderDriver>(new RecordingRenderDriver()));

    EXPECT_EQ(page->getTexture(), nullptr);
    EXPECT_TRUE(driver->textureImages.empty());
}

// A texture loaded without its image does not bring the image back when it is rebuilt.
TEST_F(ImageTextureProcessorTest, RebuiltTexturesKeepImagesOnlyWhenTheFirstDid) {
    writeImage("images/kept.png", 2, 2);
    writeImage("images/dropped.png", 2, 2);
    const CRefPointer<CImageTexture> kept = load<CImageTexture>("itex", "images/kept.png");
    driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, true);
    const CRefPointer<CImageTexture> dropped = load<CImageTexture>("itex", "images/dropped.png");
    ASSERT_TRUE(kept && dropped);
    EXPECT_TRUE(kept->keepsImage());
    EXPECT_FALSE(dropped->keepsImage());

    removeDriver();
    CRefPointer<RecordingRenderDriver> next(new RecordingRenderDriver());
    next->kind = DRIVER_KIND_OPENGL;
    createDriver(next);

    ASSERT_TRUE(kept->getTexture() && dropped->getTexture());
    EXPECT_NE(kept->getTexture()->getSourceImage(), nullptr);
    EXPECT_EQ(dropped->getTexture()->getSourceImage(), nullptr);
}

} // namespace
