#pragma once

#include <string>
#include <vector>

#include "engine/core/Utf.h"
#include "engine/scene/TextNode.h"
#include "tests/video/VideoContentFixture.h"

// A font where every glyph is 8 x 10 pixels with one pixel before and after it, so that every
// character advances 10 and lines are 10 high; "AV" kerns by -2. Its pages: 0 for most
// characters, 1 for 'b', and 2, which does not load, for 'Z'.
class TextNodeTest : public VideoContentTest {
protected:
    TextNodeTest() {
        writeImage("fonts/page.png", 32, 16);
        writeImage("fonts/other.png", 32, 16);
        std::string description = R"(<Font Type="Bitmap">
<Texture Filename="page.png"/><Texture Filename="other.png"/><Texture Filename="gone.png"/>
)";
        for (const char c : std::string("acdefghijklmnopqrstuvwxyAV -")) {
            description += std::string("<c c=\"") + c + R"(" r="2,3,10,13" b="1;0" a="1;0"/>)";
            description += "\n";
        }
        description += R"(<c c="b" i="1" r="2,3,10,13" b="1;0" a="1;0"/>
<c c="Z" i="2" r="2,3,10,13" b="1;0" a="1;0"/>
<k c="AV" k="-2"/>
</Font>)";
        writeText("fonts/mono.qfnt", description);
        font = load<CFontBase>("font", "fonts/mono.qfnt");
    }

    // A text node with the font, in bounds of the width and height.
    CRefPointer<TextNode> makeText(const char* text, float width = 100, float height = 100) {
        CRefPointer<TextNode> node(new TextNode(CContentKey(), nullptr, nullptr));
        node->setBounds({width, height, 0});
        node->setFont(font.get());
        node->setText(wide(text));
        return node;
    }

    static CStringW wide(const char* text) { return utf8ToUtf16(text); }

    static std::vector<std::string> linesOf(const TextNode& node) {
        std::vector<std::string> lines;
        for (const TextLine& line : node.getLines())
            lines.push_back(utf16ToUtf8(line.text.c_str()).c_str());
        return lines;
    }

    // The left edge of each drawn character's glyph (without the half pixel around it).
    static std::vector<float> glyphLefts(const TextNode& node) {
        std::vector<float> lefts;
        for (const TextGlyphQuad& quad : node.getGlyphQuads())
            lefts.push_back(quad.quad.vertices[0].position.x + 0.5f);
        return lefts;
    }

    CRefPointer<CFontBase> font;
};
