#include "engine/scene/TextNode.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/core/EngineServices.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/io/Dictionary.h"
#include "engine/scene/NodeClipPlanes.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/video/IRenderDriver.h"

namespace {

float roundToPixel(float value) {
    return std::floor(value + 0.5f);
}

bool isCentredOrJustified(int32_t align) {
    return align == TextNode::HALIGN_CENTRE || align == TextNode::HALIGN_JUSTIFY;
}

} // namespace

TextNode::TextNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    m_material.type = MATERIAL_TRANS_ALPHACH_VERTEXALPHA;
    m_material.layerCount = 1;
    RenderMaterialLayer& layer = m_material.layers[0];
    layer.wrapMode = 3;
    layer.bilinearFilter = true;
    layer.trilinearFilter = false;
    layer.anisotropy = 0;
    m_material.smoothShading = false;
    m_material.lighting = false;
    m_material.depthWrite = false;
    m_material.depthTest = 0;
    m_lines.append(TextLine());
}

const PropertyTable& TextNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&TextNode::getKerning, &TextNode::setKerning>("Kerning"),
            accessorProperty<&TextNode::getFontScale, &TextNode::setFontScale>("FontScale"),
            accessorProperty<&TextNode::getTextHAlign, &TextNode::setTextHAlign>("TextHAlign"),
            accessorProperty<&TextNode::getTextVAlign, &TextNode::setTextVAlign>("TextVAlign"),
            accessorProperty<&TextNode::getWordWrap, &TextNode::setWordWrap>("WordWrap"),
            accessorProperty<&TextNode::getText, &TextNode::setText>("Text"),
            accessorProperty<&TextNode::getFont, &TextNode::setFont>("Font"),
        });
    return table;
}

// Settings

void TextNode::setText(const CStringW& text) {
    if (text == m_textKey)
        return;
    m_textKey = text;
    expandText();
    layOut();
}

void TextNode::setFont(CFontBase* font) {
    if (font == m_font.get())
        return;
    m_font = CRefPointer<CFontBase>::share(font);
    m_glyphQuads.clear();
    m_drawOrder.clear();
    m_pageMaterials.clear();
    layOut();
}

void TextNode::setKerning(const CVector2d& kerning) {
    m_kerning = kerning;
    layOut();
}

void TextNode::setFontScale(float scale) {
    m_fontScale = scale;
    layOut();
}

void TextNode::setWordWrap(bool wrap) {
    m_wordWrap = wrap;
    layOut();
}

void TextNode::setTextHAlign(int32_t align) {
    m_hAlign = align;
    buildGlyphQuads();
}

void TextNode::setTextVAlign(int32_t align) {
    m_vAlign = align;
    buildGlyphQuads();
}

bool TextNode::OnDictionaryChanged(CEvent&) {
    expandText();
    layOut();
    return false;
}

void TextNode::expandText() {
    const CDictionary* dictionary = CEngineServices::instance()->getDictionary();
    m_shownText = dictionary != nullptr ? dictionary->expandKeys(m_textKey) : m_textKey;
}

// Layout

void TextNode::layOut() {
    splitLines();
    buildGlyphQuads();
}

void TextNode::splitLines() {
    TextSplitSettings settings;
    settings.font = m_font.get();
    settings.scale = m_fontScale;
    settings.spacing = m_kerning.x;
    settings.width = getBounds().x;
    settings.wordWrap = m_wordWrap;
    settings.trim = isCentredOrJustified(m_hAlign);
    splitTextLines(m_shownText, settings, m_lines);
}

float TextNode::getScaledLineHeight() const {
    return m_font ? m_font->getLineHeight() * m_fontScale : 0;
}

float TextNode::getLineStep() const {
    if (!m_font)
        return m_kerning.y;
    return m_fontScale * (m_font->getLineHeight() + m_font->getGlobalKerning().y + m_kerning.y);
}

float TextNode::getLineTop(uint32_t line) const {
    const uint32_t count = m_lines.size();
    float offset = 0;
    if (m_vAlign == VALIGN_CENTRE || m_vAlign == VALIGN_BOTTOM) {
        const float block = getScaledLineHeight() + float(count - 1) * getLineStep();
        offset = getBounds().y - block;
        if (m_vAlign == VALIGN_CENTRE)
            offset /= 2;
    }
    return roundToPixel(line < count ? offset + float(line) * getLineStep() : offset);
}

float TextNode::getLineLeft(uint32_t line) const {
    if (m_hAlign != HALIGN_CENTRE && m_hAlign != HALIGN_RIGHT)
        return 0;
    const float width = m_font && line < m_lines.size()
                            ? m_font->measureText(m_lines[line].text, m_kerning).x * m_fontScale
                            : 0;
    const float left = getBounds().x - width;
    return roundToPixel(m_hAlign == HALIGN_CENTRE ? left / 2 : left);
}

const RenderMaterial* TextNode::pageMaterial(CImageTexture* page) {
    auto found = m_pageMaterials.find(page);
    if (found == m_pageMaterials.end()) {
        RenderMaterial material = m_material;
        material.layers[0].texture = page;
        m_pageMaterials.insert(page, material);
        found = m_pageMaterials.find(page);
    }
    return &found->value;
}

void TextNode::buildGlyphQuads() {
    m_glyphQuads.truncate(0);
    m_drawOrder.truncate(0);
    if (!m_font)
        return;
    // At most one quad a character: the buffers grow once and are kept for the next layouts.
    const uint32_t most = m_shownText.length();
    if (m_glyphQuads.allocated() < most) {
        m_glyphQuads.reallocate(most);
        m_drawOrder.reallocate(most);
    }
    float y = getLineTop(0);
    for (uint32_t line = 0; line < m_lines.size(); ++line) {
        buildLineQuads(line, getLineLeft(line), y);
        y += getLineStep();
    }
    for (const TextGlyphQuad& quad : m_glyphQuads)
        m_drawOrder.append(&quad);
    // Quads of one page follow each other, so that each page is one run of the batch.
    std::stable_sort(m_drawOrder.begin(), m_drawOrder.end(),
                     [](const TextGlyphQuad* a, const TextGlyphQuad* b) {
                         return reinterpret_cast<uintptr_t>(a->quad.material) <
                                reinterpret_cast<uintptr_t>(b->quad.material);
                     });
}

void TextNode::buildLineQuads(uint32_t line, float x, float y) {
    const CFontBase& font = *m_font;
    const TextLine& entry = m_lines[line];
    const CStringW& text = entry.text;
    const float scale = m_fontScale;
    // A justified line, but the last and those ending at a line break, spreads over the bounds
    // through its spaces.
    CArray<float> extras;
    if (m_hAlign == HALIGN_JUSTIFY && line + 1 < m_lines.size() && !entry.hardBreak) {
        uint32_t spaces = 0;
        for (uint32_t i = 0; i < text.length(); ++i)
            spaces += text[i] == u' ' ? 1 : 0;
        // Measured as it is drawn, with the node's spacing.
        const float freeWidth = getBounds().x - font.measureText(text, m_kerning).x * scale;
        shareJustificationWidth(freeWidth, spaces, extras);
    }
    uint32_t nextExtra = 0;
    const CArray<CRefPointer<CAtlasTexture>>& pages = font.getPages();
    const float spacing = m_kerning.x + font.getGlobalKerning().x;
    const CColor color = getAbsoluteColor();
    for (uint32_t column = 0; column < text.length(); ++column) {
        const char16_t c = text[column];
        const CFontGlyph& glyph = font.getGlyph(c);
        const CAtlasTexture* page =
            uint32_t(glyph.page) < pages.size() ? pages[uint32_t(glyph.page)].get() : nullptr;
        CImageTexture* image = page != nullptr ? page->getPage() : nullptr;
        const IDriverTexture* texture = image != nullptr ? image->getTexture() : nullptr;
        if (texture == nullptr)
            continue;
        const CPixelSize size = texture->getSize();
        const float w = float(size.width);
        const float h = float(size.height);
        // Half a texel and half a pixel around the glyph keep its filtered edge.
        const float us[4] = {(glyph.x1 - 0.5f) / w, (glyph.x2 + 0.5f) / w, (glyph.x2 + 0.5f) / w,
                             (glyph.x1 - 0.5f) / w};
        const float vs[4] = {(glyph.y1 - 0.5f) / h, (glyph.y1 - 0.5f) / h, (glyph.y2 + 0.5f) / h,
                             (glyph.y2 + 0.5f) / h};
        x += scale * glyph.before.x;
        const float left = x - 0.5f;
        const float top = y + scale * glyph.before.y - 0.5f;
        const float right = x + scale * glyph.width + 0.5f;
        const float bottom = y + scale * glyph.before.y + scale * glyph.height + 0.5f;
        const float xs[4] = {left, right, right, left};
        const float ys[4] = {top, top, bottom, bottom};
        TextGlyphQuad quad;
        quad.quad.material = pageMaterial(image);
        quad.line = line;
        quad.column = column;
        for (int corner = 0; corner < 4; ++corner) {
            CVertex& vertex = quad.quad.vertices[corner];
            vertex.position = CVector3d(xs[corner], ys[corner], 0);
            vertex.color = color;
            vertex.texCoord = CVector2d(us[corner], vs[corner]);
        }
        const int32_t* pair =
            column + 1 < text.length() ? font.findKerningPair(c, text[column + 1]) : nullptr;
        x += scale * (spacing + glyph.after.x + glyph.width + float(pair ? *pair : 0));
        if (c == u' ' && nextExtra < extras.size())
            x += extras[nextExtra++];
        m_glyphQuads.append(quad);
    }
}

// Drawing

void TextNode::collectDrawables(RenderList& list) {
    if (!prepareToDraw())
        return;
    if (m_font && !m_textKey.isEmpty() && getAbsoluteColor().getAlpha() != 0)
        list.append({this, getAbsoluteMatrix()[14], 0});
    collectChildDrawables(list);
}

void TextNode::render(IRenderDriver* driver, const CRect* clip) {
    CQuadBatcher* batcher = driver != nullptr ? driver->getQuadBatcher() : nullptr;
    if (batcher == nullptr)
        return;
    batcher->flush();
    // Whole pixels keep the glyphs' texels on the screen's.
    CMatrix4 world = getAbsoluteMatrix();
    world.set(12, roundToPixel(world[12]));
    world.set(13, roundToPixel(world[13]));
    driver->setMatrix(TRANSFORM_WORLD, world);
    if (clip != nullptr) {
        CMatrix4 inverse;
        if (!world.getInverse(inverse)) {
            for (int i = 0; i < 16; ++i)
                inverse.set(i, 0);
        }
        CVector3d topLeft(clip->left, clip->top, 0);
        CVector3d bottomRight(clip->right, clip->bottom, 0);
        inverse.transformPoint(topLeft);
        inverse.transformPoint(bottomRight);
        enableNodeClipPlanes(*driver, CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y));
    }
    for (const TextGlyphQuad* quad : m_drawOrder)
        batcher->addQuadVertices(quad->quad);
    batcher->flush();
    driver->setMatrix(TRANSFORM_WORLD, CMatrix4::identity());
    if (clip != nullptr)
        disableNodeClipPlanes(*driver);
}

void TextNode::updateAbsoluteColor() {
    BaseNode::updateAbsoluteColor();
    for (TextGlyphQuad& quad : m_glyphQuads) {
        for (CVertex& vertex : quad.quad.vertices)
            vertex.color = getAbsoluteColor();
    }
}

bool TextNode::hitTest(const CVector3d& point) {
    return isVisible() && isPointInside(point);
}

// Caret

CRect TextNode::getCharRect(uint32_t quadIndex) const {
    if (quadIndex < m_glyphQuads.size()) {
        const CVertex* vertices = m_glyphQuads[quadIndex].quad.vertices;
        return CRect(vertices[0].position.x, vertices[0].position.y, vertices[2].position.x,
                     vertices[2].position.y);
    }
    const float left = getLineLeft(0);
    const float top = getLineTop(0);
    return CRect(left, top, left, top);
}

CRect TextNode::getCaretPosition(int32_t line, int32_t column) const {
    for (uint32_t i = 0; i < m_glyphQuads.size(); ++i) {
        const TextGlyphQuad& quad = m_glyphQuads[i];
        if (int64_t(quad.line) == line && int64_t(quad.column) == column)
            return getCharRect(i);
    }
    const uint32_t shown = line >= 0 && uint32_t(line) < m_lines.size() ? uint32_t(line) : 0;
    const float left = getLineLeft(shown);
    const float top = getLineTop(shown);
    return CRect(left, top, left, top);
}

int32_t TextNode::getCaretAtPoint(const CVector2d& point, int32_t& line, int32_t& column) const {
    if (!m_font)
        return -1;
    // The line under the point is found among the lines as they are drawn.
    if (!(point.y >= getLineTop(0))) {
        line = 0;
        column = -1;
        return -1;
    }
    const uint32_t last = m_lines.size() - 1;
    uint32_t found = 0;
    while (found < last && getLineTop(found + 1) <= point.y)
        ++found;
    int32_t position = 0;
    for (uint32_t i = 0; i < found; ++i)
        position += int32_t(m_lines[i].text.length()) + 1;
    if (found == last && point.y >= getLineTop(last) + getScaledLineHeight()) {
        const int32_t length = int32_t(m_lines[last].text.length());
        line = int32_t(last);
        column = length - 1;
        return position + length;
    }
    int32_t before = 0;
    for (const TextGlyphQuad& quad : m_glyphQuads) {
        if (quad.line != found)
            continue;
        const CVertex* vertices = quad.quad.vertices;
        if (!((vertices[0].position.x + vertices[1].position.x) / 2 < point.x))
            break;
        before = int32_t(quad.column) + 1;
    }
    line = int32_t(found);
    column = before - 1;
    return position + before;
}

int64_t TextNode::textIndexOf(int32_t line, int32_t column) const {
    if (line < 0 || uint32_t(line) >= m_lines.size())
        return -1;
    const int64_t index = int64_t(m_lines[uint32_t(line)].start) + column;
    return index >= 0 ? index : -1;
}

void TextNode::insertCharAt(char16_t character, int32_t line, int32_t column) {
    const int64_t index = textIndexOf(line, column);
    if (index < 0 || index > int64_t(m_textKey.length()))
        return;
    const char16_t inserted[2] = {character, 0};
    CStringW text = m_textKey.subString(0, uint32_t(index));
    text.append(inserted);
    text.append(m_textKey.subStringFrom(uint32_t(index)));
    m_textKey = text;
    expandText();
    layOut();
}

void TextNode::deleteCharAt(int32_t line, int32_t column) {
    const int64_t index = textIndexOf(line, column);
    const uint32_t length = m_textKey.length();
    if (index < 0 || index >= int64_t(length))
        return;
    const uint32_t at = uint32_t(index);
    const uint32_t count =
        m_textKey[at] == u'\r' && at + 1 < length && m_textKey[at + 1] == u'\n' ? 2 : 1;
    CStringW text = m_textKey.subString(0, at);
    text.append(m_textKey.subStringFrom(at + count));
    m_textKey = text;
    expandText();
    layOut();
}

// Properties and copies

void TextNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_kerning.x != 0 || m_kerning.y != 0)
        properties.addVector2d("Kerning", m_kerning);
    if (m_fontScale != 1)
        properties.addFloat("FontScale", m_fontScale);
    if (m_hAlign != HALIGN_LEFT)
        properties.addInt("TextHAlign", m_hAlign);
    if (m_vAlign != VALIGN_TOP)
        properties.addInt("TextVAlign", m_vAlign);
    if (m_wordWrap)
        properties.addBool("WordWrap", true);
    if (m_font)
        properties.add("Font", makeFontProperty(m_font.get()));
    if (!m_textKey.isEmpty())
        properties.addStringW("Text", m_textKey);
}

void TextNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    CVector2d kerning;
    if (loadPropertyIfPresent(properties, "Kerning", kerning))
        setKerning(kerning);
    float scale = 0;
    if (loadPropertyIfPresent(properties, "FontScale", scale))
        setFontScale(scale);
    int32_t align = 0;
    if (loadPropertyIfPresent(properties, "TextHAlign", align))
        setTextHAlign(align);
    if (loadPropertyIfPresent(properties, "TextVAlign", align))
        setTextVAlign(align);
    bool wrap = false;
    if (loadPropertyIfPresent(properties, "WordWrap", wrap))
        setWordWrap(wrap);
    CFontBase* font = nullptr;
    if (loadPropertyIfPresent(properties, "Font", font))
        setFont(font);
    CStringW text;
    if (loadPropertyIfPresent(properties, "Text", text))
        setText(text);
}

void TextNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& text = static_cast<const TextNode&>(source);
    m_kerning = text.m_kerning;
    m_fontScale = text.m_fontScale;
    m_hAlign = text.m_hAlign;
    m_vAlign = text.m_vAlign;
    m_wordWrap = text.m_wordWrap;
    m_material = text.m_material;
    m_textKey = text.m_textKey;
    m_shownText = text.m_shownText;
    m_font = text.m_font;
    m_pageMaterials.clear();
    layOut();
}
