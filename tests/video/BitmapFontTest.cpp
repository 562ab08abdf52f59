#include "engine/video/BitmapFont.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "video/VideoContentFixture.h"

namespace {

// Glyph A advances 1 + 10 + 2 = 13 and B 0 + 8 + 1 = 9; the tallest glyph with its space
// above and below is t: 20 - 1 + 0 = 19.
const char* const kFont = R"(<Font Type="Bitmap">
<Texture Filename="page.png"/>
<Texture Filename="missing.png"/>
<c c="A" i="0" r="0,0,10,12" b="1;2" a="2;3"/>
<c c="B" i="1" r="10,0,18,12" b="0;0" a="1;0"/>
<c c="A" i="0" r="0,0,1,1"/>
<c c="t" i="0" r="20,0,24,20" b="0;-1" a="0;0"/>
<k c="AB" k="-2"/>
<k c="AB" k="-3"/>
<k c="ABC" k="5"/>
</Font>)";
constexpr float kLineHeight = 19;

class BitmapFontTest : public VideoContentTest {
protected:
    BitmapFontTest() {
        writeImage("fonts/page.png", 32, 32);
        writeText("fonts/test.qfnt", kFont);
    }

    CRefPointer<CFontBase> loadFont(const std::string& name) {
        return load<CFontBase>("font", name);
    }
};

TEST_F(BitmapFontTest, ReadsPagesGlyphsAndKerning) {
    const CRefPointer<CFontBase> font = loadFont("fonts/test.qfnt");

    ASSERT_TRUE(font);
    ASSERT_EQ(font->getPages().size(), 2u);
    EXPECT_EQ(font->getPages()[0].get(), load<CAtlasTexture>("atex", "fonts/page.png").get());
    EXPECT_EQ(font->getPages()[1], nullptr);
    // Glyphs are drawn, never read back, so the page keeps no image.
    EXPECT_EQ(font->getPages()[0]->getDriverTexture()->getSourceImage(), nullptr);
    EXPECT_EQ(font->getGlyphs().size(), 4u);
    EXPECT_EQ(font->getGlyph(u'A').width, 10);
    EXPECT_EQ(font->getGlyph(u'B').page, 1);
    EXPECT_EQ(font->getLineHeight(), kLineHeight);
    ASSERT_TRUE(font->findKerningPair(u'A', u'B'));
    EXPECT_EQ(*font->findKerningPair(u'A', u'B'), -3);
    EXPECT_EQ(font->findKerningPair(u'B', u'A'), nullptr);
    EXPECT_EQ(font->findKerningPair(u'A', u'C'), nullptr);
    EXPECT_EQ(font->getGlyphExtent(u'A', true), CVector2d(10, 12));
    EXPECT_EQ(font->getGlyphExtent(u'A', false), CVector2d(13, 12));
}

TEST_F(BitmapFontTest, MeasuresTextWithKerningAndLineEnds) {
    const CRefPointer<CFontBase> font = loadFont("fonts/test.qfnt");
    ASSERT_TRUE(font);
    struct Case {
        const char16_t* text;
        CVector2d spacing;
        CVector2d size;
    };
    const float H = kLineHeight;
    const Case cases[] = {
        {u"", {}, {0, H}},
        {u"AB", {}, {13 - 3 + 9, H}},
        {u"BA", {}, {9 + 13, H}},
        {u"A\r\nB", {}, {13, H + H}},
        {u"A\nB", {}, {13, H + H}},
        {u"A\rB", {}, {13, H + H}},
        {u"A\n\n", {}, {13, 3 * H}},
        // Unknown characters take the first glyph: this font has no space.
        {u"?", {}, {13, H}},
        // Spacing follows every character but the last of a line, and separates lines.
        {u"AB", {2, 5}, {2 + 13 - 3 + 9, H}},
        {u"A\nB", {2, 5}, {13, H + 5 + H}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(font->measureText(c.text, c.spacing), c.size) << CString(c.text).c_str();
    }
}

TEST_F(BitmapFontTest, GlobalKerningComesFromTheProperties) {
    struct Case {
        const char* properties;
        CVector2d kerning;
    };
    const Case cases[] = {
        {R"(<vector2d Name="GlobalKerning" Value="1;4"/>)", {1, 4}},
        {R"(<int Name="GlobalKerning" Value="7"/>)", {0, 0}},
        {R"(<int Name="Other" Value="7"/>)", {0, 0}},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string name = "fonts/k" + std::to_string(index++) + ".qfnt";
        writeText(name, std::string("<Font Type=\"Bitmap\"><Properties>") + c.properties +
                            R"(</Properties><c c="A" r="0,0,2,2" a="1;0"/></Font>)");
        const CRefPointer<CFontBase> font = loadFont(name);
        ASSERT_TRUE(font) << c.properties;
        EXPECT_EQ(font->getGlobalKerning(), c.kerning) << c.properties;
        EXPECT_EQ(font->measureText(u"AA", {}).x, 3 + c.kerning.x + 3) << c.properties;
        CRefPointer<CProperties> saved(new CProperties());
        font->saveProperties(*saved);
        EXPECT_EQ(saved->getCount(), c.kerning == CVector2d() ? 0 : 1) << c.properties;
    }
}

TEST_F(BitmapFontTest, UnknownCharactersTakeTheSpaceWhenThereIsOne) {
    writeText("fonts/space.qfnt", R"(<Font Type="Bitmap">
<c c="A" r="0,0,10,10"/><c c=" " r="0,0,0,0" a="4;0"/></Font>)");
    writeText("fonts/empty.qfnt", R"(<Font Type="Bitmap"></Font>)");

    const CRefPointer<CFontBase> spaced = loadFont("fonts/space.qfnt");
    const CRefPointer<CFontBase> empty = loadFont("fonts/empty.qfnt");

    ASSERT_TRUE(spaced && empty);
    EXPECT_EQ(spaced->measureText(u"?", {}), CVector2d(4, 10));
    EXPECT_EQ(empty->measureText(u"?A", {}), CVector2d());
    EXPECT_EQ(empty->getGlyph(u'A').page, -1);
}

TEST_F(BitmapFontTest, OnlyBitmapFontsLoad) {
    writeText("fonts/outline.qfnt", R"(<Font Type="Outline"><c c="A" r="0,0,2,2"/></Font>)");
    EXPECT_EQ(loadFont("fonts/outline.qfnt"), nullptr);
    EXPECT_EQ(loadFont("fonts/none.qfnt"), nullptr);
}

// A font property value in a scene loads its font by name through the content manager.
TEST_F(BitmapFontTest, FontValuesLoadFonts) {
    const CRefPointer<CPropertyDataFont> value(new CPropertyDataFont(manager.get()));
    value->fromString("fonts/test.qfnt");

    EXPECT_EQ(value->getContent(), loadFont("fonts/test.qfnt").get());
    EXPECT_TRUE(value->toString() == "fonts/test.qfnt");
}

// What the font tool writes loads whole: each glyph lies on its page and fills the line.
TEST_F(BitmapFontTest, ReadsWhatTheFontToolWrites) {
    const std::filesystem::path fixtures =
        std::filesystem::path(VANTOR_SOURCE_DIR) / "tests" / "video" / "fixtures" / "";
    ASSERT_TRUE(files->addArchive(CStringW(fixtures.string().c_str()), nullptr));

    const CRefPointer<CFontBase> font = loadFont("fonts/Sans16.qfnt");

    ASSERT_TRUE(font);
    ASSERT_EQ(font->getPages().size(), 1u);
    ASSERT_TRUE(font->getPages()[0]);
    EXPECT_EQ(font->getPages()[0]->getDriverTexture()->getSourceSize(), (CPixelSize{128, 128}));
    EXPECT_EQ(font->getGlyphs().size(), 71u);
    for (const CFontGlyph& glyph : font->getGlyphs()) {
        EXPECT_EQ(glyph.page, 0);
        EXPECT_TRUE(glyph.x1 >= 0 && glyph.x2 <= 128 && glyph.y1 >= 0 && glyph.y2 <= 128);
        EXPECT_EQ(glyph.height + glyph.before.y + glyph.after.y, font->getLineHeight());
    }
    ASSERT_TRUE(font->findKerningPair(u'A', u'V'));
    EXPECT_LT(*font->findKerningPair(u'A', u'V'), 0);
}

} // namespace
