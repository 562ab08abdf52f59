#include "engine/video/FontBase.h"

#include <utility>

#include "engine/core/PropertyDataScalars.h"

namespace {

bool isLineEnd(char16_t ch) {
    return ch == u'\r' || ch == u'\n';
}

} // namespace

CFontBase::CFontBase(const CContentKey& key) : CContent(key) {
    setHandOutMode(kShared);
}

void CFontBase::saveProperties(CProperties& set) const {
    if (m_globalKerning.x != 0 || m_globalKerning.y != 0)
        set.add("GlobalKerning", makeVector2dProperty(m_globalKerning));
}

void CFontBase::loadProperties(const CProperties& set) {
    if (set.indexOf("GlobalKerning") < 0)
        return;
    const CRefPointer<CPropertyData> value = set.get("GlobalKerning");
    const auto* vector = castPropertyData<CPropertyDataVector2d>(value.get());
    m_globalKerning = vector ? vector->getValue() : CVector2d();
}

CVector2d CFontBase::getGlyphExtent(uint32_t character, bool glyphOnly) const {
    const CFontGlyph& glyph = getGlyph(character);
    if (glyphOnly)
        return {glyph.width, glyph.height};
    return {glyph.width + glyph.after.x + glyph.before.x + m_globalKerning.x, glyph.height};
}

CVector2d CFontBase::measureText(const CStringW& text, CVector2d extraSpacing) const {
    const float spacingX = m_globalKerning.x + extraSpacing.x;
    const float spacingY = m_globalKerning.y + extraSpacing.y;
    float width = 0;
    float height = m_lineHeight;
    float pen = 0;
    uint32_t count = 0;
    auto endLine = [&] {
        if (count > 0)
            pen -= spacingX;
        if (pen > width)
            width = pen;
        pen = 0;
        count = 0;
    };
    const uint32_t length = text.length();
    for (uint32_t i = 0; i < length; ++i) {
        const char16_t ch = text[i];
        if (isLineEnd(ch)) {
            if (ch == u'\r' && i + 1 < length && text[i + 1] == u'\n')
                ++i;
            height += spacingY + m_lineHeight;
            endLine();
            continue;
        }
        const CFontGlyph& glyph = getGlyph(ch);
        pen = spacingX + (((glyph.before.x + pen) + glyph.width) + glyph.after.x);
        if (i + 1 < length) {
            if (const int32_t* kerning = findKerningPair(ch, text[i + 1]))
                pen += float(*kerning);
        }
        ++count;
    }
    endLine();
    return {width, height};
}

const CFontGlyph& CFontBase::getGlyph(uint32_t character) const {
    static const CFontGlyph empty;
    const auto found = m_glyphIndex.find(character);
    const uint32_t index = found != m_glyphIndex.end() ? found->value : m_defaultGlyph;
    return index < m_glyphs.size() ? m_glyphs[index] : empty;
}

const int32_t* CFontBase::findKerningPair(uint32_t first, uint32_t second) const {
    const auto found = m_kerning.find(pairKey(first, second));
    return found != m_kerning.end() ? &found->value : nullptr;
}

void CFontBase::clearPagesAndGlyphs() {
    m_pages.clear();
    m_glyphs.clear();
    m_glyphIndex.clear();
    m_defaultGlyph = 0;
    m_lineHeight = 0;
}

void CFontBase::addPage(CRefPointer<CAtlasTexture> page) {
    m_pages.append(std::move(page));
}

void CFontBase::addGlyph(uint32_t character, const CFontGlyph& glyph) {
    m_glyphIndex.insert(character, m_glyphs.size());
    m_glyphs.append(glyph);
}

void CFontBase::setKerningPair(uint32_t first, uint32_t second, int32_t value) {
    m_kerning[pairKey(first, second)] = value;
}

void CFontBase::finishGlyphs() {
    const auto space = m_glyphIndex.find(u' ');
    m_defaultGlyph = space != m_glyphIndex.end() ? space->value : 0;
    m_lineHeight = 0;
    for (const CFontGlyph& glyph : m_glyphs) {
        const float height = glyph.height + glyph.before.y + glyph.after.y;
        if (height > m_lineHeight)
            m_lineHeight = height;
    }
}
