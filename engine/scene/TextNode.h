#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/Rect.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/TextLayout.h"
#include "engine/video/FontBase.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/RenderMaterial.h"

// Text properties take the text of a value of any type; none is empty.
template <>
struct PropertyTraits<CStringW> {
    static CStringW read(const CPropertyData* value) {
        return value ? value->toStringW() : CStringW();
    }
    static CRefPointer<CPropertyData> make(const CStringW& text) {
        return makeStringWProperty(text);
    }
};

// Font properties hold the engine's fonts; another value, or another kind of font, gives none.
template <>
struct PropertyTraits<CFontBase*> {
    static CFontBase* read(const CPropertyData* value) {
        return dynamic_cast<CFontBase*>(PropertyContentTraits<CPropertyDataFont>::read(value));
    }
    static CRefPointer<CPropertyData> make(CFontBase* font) { return makeFontProperty(font); }
};

// A drawn character: its quad and where it stands in the lines.
struct TextGlyphQuad {
    CQuadRecord quad;
    uint32_t line;
    uint32_t column;
};

// A node that shows a text in a bitmap font inside its bounds: the text is a dictionary key or
// plain text, split into lines at its line breaks and, with word wrap, where a line grows wider
// than the bounds; lines are aligned left, centred, right or justified, and the block top,
// centred or bottom. Every character is one quad of the 2D batch, in the font's pages.
class TextNode : public NodeClass<TextNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 2;
    static constexpr const char16_t* kTypeName = u"TextNode";

    enum EHAlign : int32_t {
        HALIGN_LEFT = 1,
        HALIGN_CENTRE = 2,
        HALIGN_RIGHT = 3,
        HALIGN_JUSTIFY = 4,
    };
    enum EVAlign : int32_t {
        VALIGN_TOP = 1,
        VALIGN_CENTRE = 2,
        VALIGN_BOTTOM = 3,
    };

    TextNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    void collectDrawables(RenderList& list) override;
    // Draws the glyphs at the node's position rounded to whole pixels, clipped to the rectangle
    // when one is given.
    void render(IRenderDriver* driver, const CRect* clip) override;
    // Inside the bounds; the children are not tested.
    bool hitTest(const CVector3d& point) override;
    // Recolours the glyphs without laying them out again.
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    bool OnDictionaryChanged(CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // The text as set, shown with its dictionary keys ("%OkBtn%") replaced by their texts.
    void setText(const CStringW& text);
    const CStringW& getText() const { return m_textKey; }
    const CStringW& getShownText() const { return m_shownText; }
    void setFont(CFontBase* font);
    CFontBase* getFont() const { return m_font.get(); }
    // Extra spacing: x after every character, y between lines.
    void setKerning(const CVector2d& kerning);
    const CVector2d& getKerning() const { return m_kerning; }
    // Scales glyphs and spacing.
    void setFontScale(float scale);
    float getFontScale() const { return m_fontScale; }
    // Values other than the alignments act as left or top. The lines are not split again.
    void setTextHAlign(int32_t align);
    void setTextVAlign(int32_t align);
    int32_t getTextHAlign() const { return m_hAlign; }
    int32_t getTextVAlign() const { return m_vAlign; }
    void setWordWrap(bool wrap);
    bool getWordWrap() const { return m_wordWrap; }

    const CArray<TextLine>& getLines() const { return m_lines; }
    // In the order of the lines and their characters.
    const CArray<TextGlyphQuad>& getGlyphQuads() const { return m_glyphQuads; }

    // Caret positions, in the node's space. Positions in the text count every earlier line as
    // its length and one more.
    // The line's top and left edge, rounded to whole pixels.
    float getLineTop(uint32_t line) const;
    float getLineLeft(uint32_t line) const;
    // The corners of a drawn character; both at the first line's start without such a quad.
    CRect getCharRect(uint32_t quadIndex) const;
    // The corners of the character at the line and column; both at the line's start when that
    // character is not drawn.
    CRect getCaretPosition(int32_t line, int32_t column) const;
    // Finds the line under the point and the column after which the caret goes (-1 before the
    // first character) and answers the position after it: above the text line 0, column -1
    // and -1; below it the end of the last line. Without a font -1, leaving both untouched.
    int32_t getCaretAtPoint(const CVector2d& point, int32_t& line, int32_t& column) const;
    // Inserts before the character at the line and column, or appends right after the text's
    // end; elsewhere nothing.
    void insertCharAt(char16_t character, int32_t line, int32_t column);
    // Removes the character at the line and column, a CR LF pair as one; past the end nothing.
    void deleteCharAt(int32_t line, int32_t column);

protected:
    ~TextNode() override = default;

private:
    float getScaledLineHeight() const;
    float getLineStep() const;
    // Where the text's character of the line and column stands in the text; -1 when the line
    // does not exist.
    int64_t textIndexOf(int32_t line, int32_t column) const;
    void expandText();
    void layOut();
    void splitLines();
    void buildGlyphQuads();
    // Appends the quads of the line's drawable characters from the pen position.
    void buildLineQuads(uint32_t line, float x, float y);
    const RenderMaterial* pageMaterial(CImageTexture* page);

    CRefPointer<CFontBase> m_font;
    CVector2d m_kerning;
    float m_fontScale = 1;
    CStringW m_textKey;
    int32_t m_hAlign = HALIGN_LEFT;
    int32_t m_vAlign = VALIGN_TOP;
    bool m_wordWrap = false;
    CStringW m_shownText;
    CArray<TextLine> m_lines;
    RenderMaterial m_material;
    CArray<TextGlyphQuad> m_glyphQuads;
    // The glyph quads in order of their materials, so that each page is drawn in one run.
    CArray<const TextGlyphQuad*> m_drawOrder;
    CMap<CImageTexture*, RenderMaterial> m_pageMaterials;
};
