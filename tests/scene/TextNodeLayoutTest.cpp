#include "engine/scene/TextNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scene/TextFixtures.h"

namespace {

using Lines = std::vector<std::string>;

TEST_F(TextNodeTest, LineBreaksEndLinesAndAreNotShown) {
    struct Case {
        const char* text;
        Lines lines;
        std::vector<bool> hardBreaks;
    };
    const Case cases[] = {
        {"", {""}, {false}},
        {"A\r\nB", {"A", "B"}, {true, false}},
        {"A\nB", {"A", "B"}, {true, false}},
        {"A\rB", {"A", "B"}, {true, false}},
        {"A\n\n", {"A", "", ""}, {true, true, false}},
    };
    for (const Case& c : cases) {
        const CRefPointer<TextNode> text = makeText(c.text);
        EXPECT_EQ(linesOf(*text), c.lines) << c.text;
        std::vector<bool> hardBreaks;
        for (const TextLine& line : text->getLines())
            hardBreaks.push_back(line.hardBreak);
        EXPECT_EQ(hardBreaks, c.hardBreaks) << c.text;
    }
    EXPECT_EQ(makeText("")->getGlyphQuads().size(), 0u);
}

// Every character is 10 wide.
TEST_F(TextNodeTest, WordWrapCutsBeforeSpacesAndAfterHyphens) {
    struct Case {
        const char* text;
        float width;
        float scale;
        Lines lines;
    };
    const Case cases[] = {
        {"one two", 35, 1, {"one", "two"}},
        {"well-known", 60, 1, {"well-", "known"}},
        {"abcdefgh", 30, 1, {"abcdefgh"}},
        {"a b", 15, 1, {"a", "b"}},
        {"-ab", 15, 1, {"-", "ab"}},
        {"ab cd\nef", 40, 1, {"ab", "cd", "ef"}},
        // A line break takes no room: the line before it fits.
        {"ab c\nd", 40, 1, {"ab c", "d"}},
        {"ab cd", 60, 2, {"ab", "cd"}},
        {"ab cd", 100, 2, {"ab cd"}},
    };
    for (const Case& c : cases) {
        const CRefPointer<TextNode> text = makeText(c.text, c.width);
        text->setFontScale(c.scale);
        text->setWordWrap(true);
        EXPECT_EQ(linesOf(*text), c.lines) << c.text << " in " << c.width;
        text->setWordWrap(false);
        EXPECT_EQ(linesOf(*text).size(),
                  std::string(c.text).find('\n') == std::string::npos ? 1u : 2u)
            << c.text;
    }
}

TEST_F(TextNodeTest, OnlyCentredAndJustifiedLinesAreTrimmed) {
    for (const int32_t align : {0, 1, 2, 3, 4}) {
        const CRefPointer<TextNode> text(new TextNode(CContentKey(), nullptr, nullptr));
        text->setFont(font.get());
        text->setTextHAlign(align);
        text->setText(wide(" \tab \r\n  c d  "));
        const bool trimmed = align == 2 || align == 4;
        EXPECT_EQ(linesOf(*text), trimmed ? Lines({"ab", "c d"}) : Lines({" \tab ", "  c d  "}))
            << align;
    }
    // Aligning again keeps the lines as they were split.
    const CRefPointer<TextNode> text = makeText("  ab  ");
    text->setTextHAlign(TextNode::HALIGN_CENTRE);
    EXPECT_EQ(linesOf(*text), Lines({"  ab  "}));
}

TEST_F(TextNodeTest, LinesAlignWithinTheBoundsWidth) {
    struct Case {
        int32_t align;
        float left;
    };
    // "ab" measures 20, "AV" 18, in bounds 100 wide.
    const Case cases[] = {{TextNode::HALIGN_LEFT, 0},
                          {TextNode::HALIGN_CENTRE, 40},
                          {TextNode::HALIGN_RIGHT, 80},
                          {7, 0}};
    for (const Case& c : cases) {
        const CRefPointer<TextNode> text = makeText("ab\nAV");
        text->setTextHAlign(c.align);
        EXPECT_EQ(text->getLineLeft(0), c.left) << c.align;
        EXPECT_EQ(glyphLefts(*text)[0], c.left + 1) << c.align;
        const float kerned = c.align == TextNode::HALIGN_CENTRE  ? 41
                             : c.align == TextNode::HALIGN_RIGHT ? 82
                                                                 : 0;
        EXPECT_EQ(text->getLineLeft(1), kerned) << c.align;
    }
}

TEST_F(TextNodeTest, GlyphsAdvanceByTheirMetricsKerningAndSpacing) {
    struct Case {
        const char* text;
        float scale;
        CVector2d spacing;
        std::vector<float> lefts;
    };
    const Case cases[] = {
        {"ab", 1, {0, 0}, {1, 11}},
        {"AVA", 1, {0, 0}, {1, 9, 19}},
        {"ab", 2, {0, 0}, {2, 22}},
        {"ab", 1, {3, 0}, {1, 14}},
        {"ab", 2, {3, 0}, {2, 28}},
        // A glyph on a page that did not load is left out and takes no room.
        {"aZb", 1, {0, 0}, {1, 11}},
    };
    for (const Case& c : cases) {
        const CRefPointer<TextNode> text = makeText(c.text);
        text->setFontScale(c.scale);
        text->setKerning(c.spacing);
        EXPECT_EQ(glyphLefts(*text), c.lefts) << c.text << " at " << c.scale;
    }
    const CRefPointer<TextNode> doubled = makeText("a");
    doubled->setFontScale(2);
    const CVertex* v = doubled->getGlyphQuads()[0].quad.vertices;
    EXPECT_EQ(v[2].position.x - v[0].position.x, 16 + 1);
    EXPECT_EQ(v[2].position.y - v[0].position.y, 20 + 1);
}

TEST_F(TextNodeTest, JustifiedLinesSpreadThroughTheirSpacesButTheLastAndBrokenOnesDoNot) {
    const CRefPointer<TextNode> text = makeText("aa bb cc dd\nee ff\ngg hh", 100);
    text->setWordWrap(true);
    text->setTextHAlign(TextNode::HALIGN_JUSTIFY);

    ASSERT_EQ(linesOf(*text), Lines({"aa bb cc", "dd", "ee ff", "gg hh"}));
    const std::vector<float> lefts = glyphLefts(*text);
    // Twenty pixels are free on the first line: each of its two spaces takes ten more.
    EXPECT_EQ(std::vector<float>(lefts.begin(), lefts.begin() + 8),
              (std::vector<float>{1, 11, 21, 41, 51, 61, 81, 91}));
    // "ee ff" ends at a line break and "gg hh" is the last line.
    EXPECT_EQ(std::vector<float>(lefts.begin() + 10, lefts.begin() + 15),
              (std::vector<float>{1, 11, 21, 31, 41}));
    EXPECT_EQ(std::vector<float>(lefts.begin() + 15, lefts.end()),
              (std::vector<float>{1, 11, 21, 31, 41}));

    // With a spacing of 1 the line measures 87 as it is drawn: its spaces take 7 and 6 more, and
    // its last glyph's advance ends on the bounds.
    text->setKerning({1, 0});
    ASSERT_EQ(linesOf(*text)[0], "aa bb cc");
    const std::vector<float> spaced = glyphLefts(*text);
    EXPECT_EQ(std::vector<float>(spaced.begin(), spaced.begin() + 8),
              (std::vector<float>{1, 12, 23, 41, 52, 63, 80, 91}));
}

TEST_F(TextNodeTest, JustificationSharesTheFreeWidthInRoundedSteps) {
    struct Case {
        float freeWidth;
        uint32_t spaces;
        std::vector<float> extras;
    };
    const Case cases[] = {
        {20, 2, {10, 10}}, {5, 2, {3, 2}},  {5, 4, {1, 1, 1, 1}},
        {0, 3, {0}},       {-10, 2, {-10}}, {7, 0, {}},
    };
    for (const Case& c : cases) {
        CArray<float> extras;
        shareJustificationWidth(c.freeWidth, c.spaces, extras);
        EXPECT_EQ(std::vector<float>(extras.begin(), extras.end()), c.extras)
            << c.freeWidth << " over " << c.spaces;
    }
}

TEST_F(TextNodeTest, TheBlockOfLinesAlignsWithinTheBoundsHeight) {
    struct Case {
        int32_t align;
        float spacing;
        float scale;
        std::vector<float> tops;
    };
    // Three lines 10 high in bounds 100 high.
    const Case cases[] = {
        {TextNode::VALIGN_TOP, 0, 1, {0, 10, 20}},
        {TextNode::VALIGN_CENTRE, 0, 1, {35, 45, 55}},
        {TextNode::VALIGN_BOTTOM, 0, 1, {70, 80, 90}},
        {TextNode::VALIGN_BOTTOM, 5, 1, {60, 75, 90}},
        {TextNode::VALIGN_CENTRE, 5, 1, {30, 45, 60}},
        {TextNode::VALIGN_BOTTOM, 5, 2, {20, 50, 80}},
        {0, 5, 1, {0, 15, 30}},
    };
    for (const Case& c : cases) {
        const CRefPointer<TextNode> text = makeText("a\nb\nc");
        text->setKerning({0, c.spacing});
        text->setFontScale(c.scale);
        text->setTextVAlign(c.align);
        std::vector<float> tops;
        for (uint32_t line = 0; line < 3; ++line)
            tops.push_back(text->getLineTop(line));
        EXPECT_EQ(tops, c.tops) << c.align << " " << c.spacing << " " << c.scale;
        // Glyphs sit on their line's top.
        const TextGlyphQuad& last = text->getGlyphQuads()[2];
        EXPECT_EQ(last.quad.vertices[0].position.y + 0.5f, c.tops[2]) << c.align;
    }
    // A single line is centred by its own height; tops round to whole pixels.
    const CRefPointer<TextNode> single = makeText("a", 100, 25);
    single->setTextVAlign(TextNode::VALIGN_CENTRE);
    EXPECT_EQ(single->getLineTop(0), 8);
}

} // namespace
