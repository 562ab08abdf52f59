#include "engine/video/AtlasTexture.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "engine/core/PropertyDataContent.h"
#include "video/VideoContentFixture.h"

namespace {

TEST(AtlasTextureTest, NameCarriesBaseNameFrameAndExtension) {
    struct Case {
        const char16_t* name;
        const char16_t* baseName;
        int32_t frame;
        const char16_t* extension;
    };
    const Case cases[] = {
        {u"Walk0012.png", u"Walk", 12, u".png"},
        {u"logo.png", u"logo", -1, u".png"},
        {u"anim5", u"", -1, u""},
        {u"hero/run.0007.png", u"hero/run.", 7, u".png"},
        {u"0003.png", u"", 3, u".png"},
        {u"long99999999999.png", u"long", INT32_MAX, u".png"},
    };
    for (const Case& c : cases) {
        const CRefPointer<CAtlasTexture> texture(
            new CAtlasTexture(CContentKey(nullptr, c.name), nullptr, CRect(), {}, {}));
        EXPECT_TRUE(texture->getBaseName() == c.baseName) << CString(c.name).c_str();
        EXPECT_EQ(texture->getFrameNumber(), c.frame) << CString(c.name).c_str();
        EXPECT_TRUE(texture->getExtension() == c.extension) << CString(c.name).c_str();
    }
}

using AtlasTextureLoadTest = VideoContentTest;

// The image sits in the top-left corner of a texture padded to powers of two.
TEST_F(AtlasTextureLoadTest, ImageFileIsOneAtlasTextureOverTheWholeImage) {
    driver->padTextures = true;
    writeImage("images/logo.png", 100, 50);

    const CRefPointer<CAtlasTexture> texture = load<CAtlasTexture>("atex", "images/logo.png");

    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->getRect(), CRect(0, 0, 0.78125f, 0.78125f));
    EXPECT_EQ(texture->getBefore(), CVector2d());
    EXPECT_EQ(texture->getAfter(), CVector2d());
    EXPECT_EQ(texture->getPage(), load<CImageTexture>("itex", "images/logo.png").get());
    EXPECT_EQ(texture->getDriverTexture()->getSize(), (CPixelSize{128, 64}));
    EXPECT_EQ(load<CAtlasTexture>("atex", "images/missing.png"), nullptr);
}

// While the device replaces its driver there is nothing to make textures with.
TEST_F(AtlasTextureLoadTest, NothingLoadsWithoutADriver) {
    writeImage("images/logo.png", 4, 4);
    removeDriver();

    EXPECT_EQ(load<CAtlasTexture>("atex", "images/logo.png"), nullptr);
    EXPECT_EQ(load<CImageTexture>("itex", "images/logo.png"), nullptr);
}

TEST_F(AtlasTextureLoadTest, BrokenImageLogsItsName) {
    writeText("images/broken.png", "not an image");

    testing::internal::CaptureStdout();
    const CRefPointer<CContent> image =
        manager->load(contentType("imag"), u"images/broken.png", false);
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(image, nullptr);
    EXPECT_NE(output.find("WRN: Can't load image: images/broken.png"), std::string::npos) << output;
}

// A value stepping through the frames of an animation finds them in the atlas that named them.
TEST_F(AtlasTextureLoadTest, AtlasValuesInterpolateThroughTheFramesOfAnAtlas) {
    writeImage("atlases/walk.png", 64, 16);
    writeText("atlases/walk.xml", R"(<AtlasTextureCollection>
<a f="walk.png"/>
<t n="Walk0001.png" r="0,0,16,16"/>
<t n="Walk0002.png" r="16,0,32,16"/>
<t n="Walk0003.png" r="32,0,48,16"/>
<t n="Walk0004.png" r="48,0,64,16"/>
</AtlasTextureCollection>)");
    const CRefPointer<CContent> atlas =
        manager->load(contentType("atxc"), u"atlases/walk.xml", false);
    ASSERT_TRUE(atlas);

    const CRefPointer<CPropertyDataAtlasTexture> from(new CPropertyDataAtlasTexture(manager.get()));
    const CRefPointer<CPropertyDataAtlasTexture> to(new CPropertyDataAtlasTexture(manager.get()));
    const CRefPointer<CPropertyDataAtlasTexture> out(new CPropertyDataAtlasTexture());
    from->fromString("Walk0001.png");
    to->fromString("Walk0004.png");
    from->prepareInterpolation(to.get());

    for (const bool prepared : {true, false}) {
        // Preparing toward its own frame empties the cache, so frames load by name.
        if (!prepared)
            from->prepareInterpolation(from.get());
        EXPECT_TRUE(from->interpolate(to.get(), out.get(), 0.7f)) << prepared;
        EXPECT_EQ(out->getTexture(), load<CAtlasTexture>("atex", "Walk0003.png").get()) << prepared;
        EXPECT_TRUE(from->interpolate(to.get(), out.get(), 0.0f)) << prepared;
    }
    EXPECT_TRUE(out->toStringW() == u"Walk0001.png");
}

} // namespace
