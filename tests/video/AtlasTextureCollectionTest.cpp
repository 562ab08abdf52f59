#include "engine/video/AtlasTextureCollection.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "video/VideoContentFixture.h"

namespace {

class AtlasTextureCollectionTest : public VideoContentTest {
protected:
    CRefPointer<AtlasTextureCollection> loadAtlas(const std::string& name) {
        return load<AtlasTextureCollection>("atxc", name);
    }

    static std::vector<std::string> names(const AtlasTextureCollection& atlas) {
        std::vector<std::string> result;
        for (const AtlasTextureCollection::Entry& entry : atlas.getEntries())
            result.push_back(CString(entry.name.c_str()).c_str());
        return result;
    }
};

TEST_F(AtlasTextureCollectionTest, EntriesBecomeCachedRectanglesOfTheirPages) {
    driver->padTextures = true;
    writeImage("atlases/big.png", 256, 128);
    writeImage("atlases/small.png", 100, 50);
    writeText("atlases/ui.xml", R"(<AtlasTextureCollection>
<a f="big.png"/>
<a f="missing.png"/>
<a f="small.png"/>
<t n="Button.png" i="0" r="0, 0, 63, 31" b="1;2" a="3;4"/>
<t n="Reversed.png" i="2" r="10,10,5,20"/>
<t n="Flat.png" i="0" r="5,5,5,20"/>
<t n="" i="0" r="0,0,8,8"/>
<t n="Negative.png" i="-1" r="0,0,8,8"/>
<t n="Beyond.png" i="3" r="0,0,8,8"/>
<t n="OnMissingPage.png" i="1" r="0,0,8,8"/>
<t n="Far.png" i="0" r="0,0,8,8" b="1e39;2" a="-1e39;nan"/>
</AtlasTextureCollection>
<t n="AfterTheEnd.png" i="0" r="0,0,8,8"/>)");

    const CRefPointer<AtlasTextureCollection> atlas = loadAtlas("atlases/ui.xml");

    ASSERT_TRUE(atlas);
    EXPECT_EQ(names(*atlas), (std::vector<std::string>{"Button.png", "Reversed.png", "Far.png"}));
    ASSERT_EQ(atlas->getPages().size(), 3u);
    EXPECT_EQ(atlas->getPages()[1], nullptr);
    const CRefPointer<CAtlasTexture> button = load<CAtlasTexture>("atex", "Button.png");
    ASSERT_TRUE(button);
    EXPECT_EQ(button.get(), atlas->getAtlasTextures()[0].get());
    EXPECT_EQ(button->getRect(), CRect(0, 0, 0.24609375f, 0.2421875f));
    EXPECT_EQ(button->getBefore(), CVector2d(1, 2));
    EXPECT_EQ(button->getAfter(), CVector2d(3, 4));
    EXPECT_EQ(button->getPage(), load<CImageTexture>("itex", "atlases/big.png").get());
    // A reversed rectangle is the whole image, which fills part of its padded texture.
    const CRefPointer<CAtlasTexture> reversed = load<CAtlasTexture>("atex", "Reversed.png");
    ASSERT_TRUE(reversed);
    EXPECT_EQ(reversed->getRect(), CRect(0, 0, 100.0f / 128, 50.0f / 64));
    // Margins too large for a float would move the image out of reach.
    const CRefPointer<CAtlasTexture> far = load<CAtlasTexture>("atex", "Far.png");
    ASSERT_TRUE(far);
    EXPECT_EQ(far->getBefore(), CVector2d(0, 2));
    EXPECT_EQ(far->getAfter(), CVector2d(0, 0));
    for (const char* skipped :
         {"Flat.png", "Negative.png", "Beyond.png", "OnMissingPage.png", "AfterTheEnd.png"})
        EXPECT_EQ(load<CAtlasTexture>("atex", skipped), nullptr) << skipped;
}

// Loading twice parses twice; the textures the first load cached stay the ones handed out.
TEST_F(AtlasTextureCollectionTest, IsNeverCached) {
    writeImage("atlases/page.png", 8, 8);
    writeText("atlases/a.xml", R"(<AtlasTextureCollection><a f="page.png"/>
<t n="dot.png" r="0,0,1,1"/></AtlasTextureCollection>)");

    const CRefPointer<AtlasTextureCollection> first = loadAtlas("atlases/a.xml");
    const CRefPointer<AtlasTextureCollection> second = loadAtlas("atlases/a.xml");

    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(load<CAtlasTexture>("atex", "dot.png").get(), first->getAtlasTextures()[0].get());
}

TEST_F(AtlasTextureCollectionTest, WrittenCollectionReadsBackWithTheSameEntries) {
    writeImage("atlases/p0.png", 32, 32);
    writeImage("atlases/p1.png", 32, 32);
    writeText("atlases/in.xml", R"(<AtlasTextureCollection>
<a f="p0.png"/><a f="p1.png"/>
<t n="zeta.png" i="1" r="1,2,3,4" b="0.5;1" a="2;-3"/>
<t n="beta.png" i="0" r="20,20,10,30"/>
<t n="alpha.png" i="0" r="0,0,16,16" b="1;1"/>
</AtlasTextureCollection>)");
    const CRefPointer<AtlasTextureCollection> original = loadAtlas("atlases/in.xml");
    ASSERT_TRUE(original);

    ASSERT_TRUE(
        manager->save(contentType("atxc"), original.get(), folder.wide("atlases/out.xml"), 0));
    const CRefPointer<AtlasTextureCollection> copy = loadAtlas("atlases/out.xml");

    ASSERT_TRUE(copy);
    EXPECT_EQ(names(*copy), (std::vector<std::string>{"alpha.png", "beta.png", "zeta.png"}));
    ASSERT_EQ(copy->getEntries().size(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        const AtlasTextureCollection::Entry& expected = original->getEntries()[i];
        const AtlasTextureCollection::Entry& read = copy->getEntries()[i];
        EXPECT_TRUE(read.name == expected.name);
        EXPECT_EQ(read.page, expected.page);
        EXPECT_EQ((std::vector<int32_t>{read.x1, read.y1, read.x2, read.y2}),
                  (std::vector<int32_t>{expected.x1, expected.y1, expected.x2, expected.y2}));
        EXPECT_EQ(read.before, expected.before);
        EXPECT_EQ(read.after, expected.after);
    }
    EXPECT_TRUE(copy->getPageNames()[1] == u"p1.png");
    EXPECT_EQ(copy->getEntries()[2].after, CVector2d(2, -3));
}

} // namespace
