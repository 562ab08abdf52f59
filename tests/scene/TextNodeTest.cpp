#include "engine/scene/TextNode.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/io/Dictionary.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/XmlTextReader.h"
#include "tests/scene/SpriteFixtures.h"
#include "tests/scene/TextFixtures.h"

namespace {

using Lines = std::vector<std::string>;

// The dictionary event, which has no class of its own in the engine.
class DictionaryChangedEvent : public CEventType<41, CEvent> {
public:
    DictionaryChangedEvent() : CEventType(CategoryNode) {}
};

void addTexts(const std::string& phrases) {
    std::string document = "<texts>" + phrases + "</texts>";
    CRefPointer<CMemoryBlockFile> file(new CMemoryBlockFile(
        reinterpret_cast<uint8_t*>(document.data()), int32_t(document.size()), u"d.xml", false));
    CRefPointer<CXmlTextReader> reader(new CXmlTextReader(file.get()));
    ASSERT_TRUE(CEngineServices::instance()->getDictionary()->readXml(reader.get()));
}

std::string text(const CStringW& wide) {
    return utf16ToUtf8(wide.c_str()).c_str();
}

std::vector<std::string> keysOf(const CProperties& properties) {
    std::vector<std::string> keys;
    for (int32_t i = 0; i < properties.getCount(); ++i)
        keys.push_back(properties.getNameAt(i).c_str());
    return keys;
}

TEST_F(TextNodeTest, DrawsItsGlyphsPageByPageAtWholePixelsWithinTheClip) {
    const CRefPointer<TextNode> node = makeText("abab");
    node->setPosition({10.4f, 20.6f, 3});
    node->setTintColor(CColor(0x80FFFFFFu));
    RenderList list;
    node->collectDrawables(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].depth, 3);
    EXPECT_EQ(list[0].sortKey, 0u);
    CRefPointer<ClipRecordingDriver> recorder(new ClipRecordingDriver());
    RenderMaterial plain;
    const CVector2d corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    recorder->getQuadBatcher()->addQuad(&plain, corners, corners, 0, CColor(0xFFFFFFFFu));

    const CRect clip(0, 0, 50, 40);
    node->render(recorder.get(), &clip);

    EXPECT_EQ(recorder->log, (std::vector<std::string>{
                                 "draw 2",
                                 "world 10,21",
                                 "plane 0 on 0,1,0,21",
                                 "plane 1 on 0,-1,0,19",
                                 "plane 2 on 1,0,0,10",
                                 "plane 3 on -1,0,0,40",
                                 "draw 4",
                                 "draw 4",
                                 "world 0,0",
                                 "plane 0 off 0,1,0,0",
                                 "plane 1 off 0,-1,0,0",
                                 "plane 2 off 1,0,0,0",
                                 "plane 3 off -1,0,0,0",
                             }));
    ASSERT_EQ(recorder->draws.size(), 3u);
    std::set<CImageTexture*> pages;
    for (size_t i = 1; i < 3; ++i) {
        pages.insert(recorder->draws[i].texture);
        for (const CVertex& vertex : recorder->draws[i].vertices)
            EXPECT_EQ(vertex.color.value, 0x80FFFFFFu);
    }
    EXPECT_EQ(pages, (std::set<CImageTexture*>{font->getPages()[0]->getPage(),
                                               font->getPages()[1]->getPage()}));
    // The glyph's texels with half a texel around them, on a 32 x 16 page.
    const CVertex& first = node->getGlyphQuads()[0].quad.vertices[0];
    EXPECT_EQ(first.texCoord, CVector2d(1.5f / 32, 2.5f / 16));
    EXPECT_EQ(first.position, CVector3d(0.5f, -0.5f, 0));
}

TEST_F(TextNodeTest, OnlyAVisibleTextInAFontAddsADrawable) {
    const auto entries = [](TextNode& node) {
        RenderList list;
        node.collectDrawables(list);
        return list.size();
    };
    EXPECT_EQ(entries(*makeText("a")), 1u);
    EXPECT_EQ(entries(*makeText("")), 0u);
    const CRefPointer<TextNode> faint = makeText("a");
    faint->setTintColor(CColor(0x00FFFFFFu));
    EXPECT_EQ(entries(*faint), 0u);
    const CRefPointer<TextNode> fontless = makeText("a");
    fontless->setFont(nullptr);
    EXPECT_EQ(entries(*fontless), 0u);
    EXPECT_TRUE(fontless->getGlyphQuads().size() == 0);
    // The children draw whatever their parent does.
    makeText("b")->setParent(fontless.get());
    EXPECT_EQ(entries(*fontless), 1u);
}

TEST_F(TextNodeTest, ATintChangeRecoloursTheGlyphsInPlace) {
    const CRefPointer<TextNode> node = makeText("ab");
    RenderList list;
    node->collectDrawables(list);
    const CVector3d before = node->getGlyphQuads()[1].quad.vertices[2].position;

    node->setTintColor(CColor(0xFF00FF00u));
    node->collectDrawables(list);

    for (const TextGlyphQuad& quad : node->getGlyphQuads()) {
        for (const CVertex& vertex : quad.quad.vertices)
            EXPECT_EQ(vertex.color.value, 0xFF00FF00u);
    }
    EXPECT_EQ(node->getGlyphQuads()[1].quad.vertices[2].position, before);
}

TEST_F(TextNodeTest, DictionaryKeysShowTheirTextsAndFollowDictionaryChanges) {
    addTexts(R"(<phrase tag="Greeting" text="ab"/>)");
    const CRefPointer<TextNode> node = makeText("%Greeting% c %Missing%");
    EXPECT_EQ(text(node->getShownText()), "ab c %Missing%");
    EXPECT_EQ(text(node->getText()), "%Greeting% c %Missing%");
    EXPECT_EQ(node->getGlyphQuads().size(), 14u);

    addTexts(R"(<phrase tag="Greeting" text="a"/><phrase tag="Missing" text="d"/>)");
    const CRefPointer<CEvent> changed(new DictionaryChangedEvent());
    EXPECT_FALSE(node->OnEvent(*changed));

    EXPECT_EQ(text(node->getShownText()), "a c d");
    EXPECT_EQ(node->getGlyphQuads().size(), 5u);
}

TEST_F(TextNodeTest, SavesWhatDiffersFromTheDefaultsAndLoadsItBack) {
    const CRefPointer<TextNode> fresh(new TextNode(CContentKey(), nullptr, nullptr));
    CRefPointer<CProperties> saved(new CProperties());
    fresh->saveProperties(*saved);
    EXPECT_EQ(saved->getCount(), 0);

    const CRefPointer<TextNode> source = makeText("ab");
    source->setKerning({1, 2});
    source->setFontScale(2);
    source->setTextHAlign(TextNode::HALIGN_RIGHT);
    source->setTextVAlign(TextNode::VALIGN_BOTTOM);
    source->setWordWrap(true);
    source->saveProperties(*saved);
    EXPECT_EQ(keysOf(*saved), (std::vector<std::string>{"Kerning", "FontScale", "TextHAlign",
                                                        "TextVAlign", "WordWrap", "Font", "Text"}));

    const CRefPointer<TextNode> copy(new TextNode(CContentKey(), nullptr, nullptr));
    copy->setBounds({100, 100, 0});
    copy->loadProperties(*saved);
    EXPECT_EQ(copy->getKerning(), CVector2d(1, 2));
    EXPECT_EQ(copy->getFontScale(), 2);
    EXPECT_EQ(copy->getTextHAlign(), TextNode::HALIGN_RIGHT);
    EXPECT_EQ(copy->getTextVAlign(), TextNode::VALIGN_BOTTOM);
    EXPECT_TRUE(copy->getWordWrap());
    EXPECT_EQ(copy->getFont(), font.get());
    EXPECT_EQ(text(copy->getText()), "ab");
    ASSERT_EQ(copy->getGlyphQuads().size(), 2u);
    EXPECT_EQ(copy->getGlyphQuads()[1].quad.vertices[0].position,
              source->getGlyphQuads()[1].quad.vertices[0].position);
}

TEST_F(TextNodeTest, PropertiesByNameConvertValuesOfOtherTypes) {
    const CRefPointer<TextNode> node = makeText("ab");
    const std::vector<const char*> own = {"Kerning",  "FontScale", "TextHAlign", "TextVAlign",
                                          "WordWrap", "Text",      "Font"};
    ASSERT_EQ(node->getPropertyTable().size(), 11 + own.size());
    for (size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(node->findProperty(own[i]), int32_t(11 + i)) << own[i];
    const auto set = [&](const char* name, CRefPointer<CPropertyData> value) {
        node->setPropertyByIndex(node->findProperty(name), value);
    };

    const CRefPointer<CPropertyDataFont> byName(new CPropertyDataFont(manager.get()));
    byName->fromString("fonts/mono.qfnt");
    set("Font", byName);
    EXPECT_EQ(node->getFont(), font.get());
    set("Text", makeIntProperty(5));
    EXPECT_EQ(text(node->getText()), "5");
    set("FontScale", makeIntProperty(3));
    EXPECT_EQ(node->getFontScale(), 0);
    set("TextHAlign", makeBoolProperty(true));
    EXPECT_EQ(node->getTextHAlign(), 0);
    set("Kerning", makeFloatProperty(1));
    EXPECT_EQ(node->getKerning(), CVector2d(0, 0));
    set("Font", makeIntProperty(1));
    EXPECT_EQ(node->getFont(), nullptr);
    const CRefPointer<CPropertyData> shown = node->getPropertyByIndex(node->findProperty("Text"));
    EXPECT_EQ(text(shown->toStringW()), "5");
}

TEST_F(TextNodeTest, ACloneShowsTheSameTextTheSameWay) {
    const CRefPointer<TextNode> source = makeText("one two", 35);
    source->setWordWrap(true);
    source->setTextHAlign(TextNode::HALIGN_CENTRE);
    source->setKerning({1, 3});

    const CRefPointer<BaseNode> clone = source->clone(nullptr, nullptr);

    ASSERT_TRUE(clone->isKindOf(TextNode::kTypeId) && !clone->isKindOf(3));
    const auto& copy = static_cast<const TextNode&>(*clone);
    EXPECT_EQ(copy.getFont(), font.get());
    EXPECT_EQ(linesOf(copy), Lines({"one", "two"}));
    EXPECT_EQ(copy.getLineLeft(1), source->getLineLeft(1));
    EXPECT_EQ(glyphLefts(copy), glyphLefts(*source));
    EXPECT_EQ(copy.getLineTop(1), 13);
}

// "ab" over "cd": characters 10 wide and lines 10 high, glyphs from x + 1 to x + 9.
TEST_F(TextNodeTest, CaretPositionsFollowTheLinesOfMultiLineText) {
    const CRefPointer<TextNode> node = makeText("ab\r\ncd");

    EXPECT_EQ(node->getCaretPosition(1, 1), CRect(10.5f, 9.5f, 19.5f, 20.5f));
    EXPECT_EQ(node->getCaretPosition(1, 2), CRect(0, 10, 0, 10));
    EXPECT_EQ(node->getCharRect(3), CRect(10.5f, 9.5f, 19.5f, 20.5f));
    EXPECT_EQ(node->getCharRect(4), CRect(0, 0, 0, 0));
    struct Case {
        CVector2d point;
        int32_t line;
        int32_t column;
        int32_t position;
    };
    const Case cases[] = {
        {{12, 15}, 1, 0, 4},   {{0, 15}, 1, -1, 3}, {{99, 5}, 0, 1, 2},
        {{12, -1}, 0, -1, -1}, {{12, 25}, 1, 1, 5},
    };
    for (const Case& c : cases) {
        int32_t line = 9;
        int32_t column = 9;
        EXPECT_EQ(node->getCaretAtPoint(c.point, line, column), c.position)
            << c.point.x << "," << c.point.y;
        EXPECT_EQ(line, c.line) << c.point.x << "," << c.point.y;
        EXPECT_EQ(column, c.column) << c.point.x << "," << c.point.y;
    }
    // The caret finds the lines where they are drawn, here at the bottom of the bounds.
    node->setTextVAlign(TextNode::VALIGN_BOTTOM);
    int32_t line = 9;
    int32_t column = 9;
    EXPECT_EQ(node->getCaretAtPoint({12, 95}, line, column), 4);
    EXPECT_EQ(line, 1);
}

TEST_F(TextNodeTest, CaretOperationsOnEmptyTextAndWithoutUsableFonts) {
    int32_t line = 9;
    int32_t column = 9;
    const CRefPointer<TextNode> empty = makeText("");
    EXPECT_EQ(empty->getCaretAtPoint({5, 5}, line, column), 0);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(column, -1);
    EXPECT_EQ(empty->getCaretPosition(0, 0), CRect(0, 0, 0, 0));

    empty->setFont(nullptr);
    line = column = 9;
    EXPECT_EQ(empty->getCaretAtPoint({5, 5}, line, column), -1);
    EXPECT_EQ(line, 9);
    EXPECT_EQ(column, 9);

    // A font without glyphs has lines of no height.
    writeText("fonts/empty.qfnt", R"(<Font Type="Bitmap"></Font>)");
    const CRefPointer<TextNode> glyphless = makeText("ab\ncd");
    glyphless->setFont(load<CFontBase>("font", "fonts/empty.qfnt").get());
    EXPECT_EQ(glyphless->getCaretAtPoint({5, 5}, line, column), 5);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 1);
}

TEST_F(TextNodeTest, CharactersAreInsertedAndDeletedAtCaretPositions) {
    struct Case {
        const char* text;
        bool insert;
        int32_t line;
        int32_t column;
        const char* result;
    };
    const Case cases[] = {
        {"ab\r\ncd", true, 1, 0, "ab\r\nXcd"},
        {"ab\r\ncd", true, 1, 2, "ab\r\ncdX"},
        {"ab\r\ncd", true, 1, 3, "ab\r\ncd"},
        {"ab\r\ncd", true, 0, 2, "abX\r\ncd"},
        {"ab\r\ncd", true, 2, 0, "ab\r\ncd"},
        {"", true, 0, 0, "X"},
        {"ab\r\ncd", false, 0, 2, "abcd"},
        {"ab\r\ncd", false, 1, 1, "ab\r\nc"},
        {"ab\r\ncd", false, 1, 2, "ab\r\ncd"},
        {"ab\ncd", false, 0, 2, "abcd"},
        // Wrapped lines: the dropped space still counts.
        {"one two", true, 1, 0, "one Xtwo"},
        {"one two", false, 1, 0, "one wo"},
    };
    for (const Case& c : cases) {
        const CRefPointer<TextNode> node = makeText(c.text, 35);
        node->setWordWrap(true);
        if (c.insert)
            node->insertCharAt(u'X', c.line, c.column);
        else
            node->deleteCharAt(c.line, c.column);
        EXPECT_EQ(text(node->getText()), c.result) << c.text << " " << c.line << "," << c.column;
        EXPECT_EQ(text(node->getShownText()), c.result) << c.text;
    }
}

} // namespace
