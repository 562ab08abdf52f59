#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/Map.h"
#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/io/Content.h"
#include "engine/io/XmlTextReader.h"
#include "engine/video/AtlasTexture.h"

// One character's image in a font: a rectangle of a page in texture pixels, with the space
// before it (left, top) and after it (right, bottom).
struct CFontGlyph {
    // -1 for the empty glyph of a font without glyphs.
    int32_t page = -1;
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
    CVector2d before;
    CVector2d after;
    float width = 0;
    float height = 0;
};

// A font of glyph images on atlas texture pages, content of type 'font', handed out shared:
// glyph metrics, kerning pairs and a global spacing, and text measured with them. Text is
// UTF-16; each code unit is one character.
class CFontBase : public CContent {
public:
    explicit CFontBase(const CContentKey& key);

    uint32_t getContentType() const override { return contentType("font"); }

    // "GlobalKerning" (vector2d), only when it is not (0, 0).
    virtual void saveProperties(CProperties& set) const;
    // "GlobalKerning" when the set has it: its value when it is a vector2d, else (0, 0).
    virtual void loadProperties(const CProperties& set);
    // The character's glyph size; without glyphOnly x is the whole advance (space before and
    // after and the global spacing included).
    virtual CVector2d getGlyphExtent(uint32_t character, bool glyphOnly) const;
    // Width and height of the text, with extra spacing after each character (x) and between
    // lines (y). CR LF, a lone CR and a lone LF each end a line.
    virtual CVector2d measureText(const CStringW& text, CVector2d extraSpacing) const;
    // Replaces the pages and glyphs with a description read from the reader; kerning pairs
    // read earlier stay.
    virtual void readXml(CXmlTextReader& reader) = 0;

    // The character's glyph, else the default glyph (the space, or the first glyph); an empty
    // glyph when the font has none.
    const CFontGlyph& getGlyph(uint32_t character) const;
    // Null when the pair has no kerning.
    const int32_t* findKerningPair(uint32_t first, uint32_t second) const;

    // x after every character, y between lines.
    const CVector2d& getGlobalKerning() const { return m_globalKerning; }
    // The tallest glyph with its space above and below.
    float getLineHeight() const { return m_lineHeight; }
    // An entry is none where a page did not load.
    const CArray<CRefPointer<CAtlasTexture>>& getPages() const { return m_pages; }
    const CArray<CFontGlyph>& getGlyphs() const { return m_glyphs; }

protected:
    ~CFontBase() override = default;

    void clearPagesAndGlyphs();
    void addPage(CRefPointer<CAtlasTexture> page);
    // A character already present keeps its first glyph; the new one is still listed.
    void addGlyph(uint32_t character, const CFontGlyph& glyph);
    // A pair read again takes the later value.
    void setKerningPair(uint32_t first, uint32_t second, int32_t value);
    // Picks the default glyph and the line height once all glyphs are in.
    void finishGlyphs();

private:
    static uint64_t pairKey(uint32_t first, uint32_t second) {
        return uint64_t(first) << 32 | second;
    }

    CVector2d m_globalKerning;
    float m_lineHeight = 0;
    CArray<CRefPointer<CAtlasTexture>> m_pages;
    CArray<CFontGlyph> m_glyphs;
    CMap<uint32_t, uint32_t> m_glyphIndex;
    CMap<uint64_t, int32_t> m_kerning;
    uint32_t m_defaultGlyph = 0;
};
