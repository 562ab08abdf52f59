// Reads an arbitrary document as a font description over two real page images, then measures
// the document's own text with it and lays its last bytes out in a text node: wrapped in every
// horizontal and vertical alignment, with caret look-ups, an insertion and a deletion. Every
// glyph quad names a character of its line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/scene/TextNode.h"
#include "engine/video/FontBase.h"
#include "fuzz/FuzzInputFile.h"
#include "fuzz/FuzzVideoContent.h"

namespace {

void checkQuads(const TextNode& node) {
    const CArray<TextLine>& lines = node.getLines();
    for (const TextGlyphQuad& quad : node.getGlyphQuads()) {
        if (quad.line >= lines.size() || quad.column >= lines[quad.line].text.length())
            __builtin_trap();
    }
}

void layOut(CFontBase* font, const CStringW& text, float width) {
    const CRefPointer<TextNode> node(new TextNode(CContentKey(), nullptr, nullptr));
    node->setBounds({width, 40, 0});
    node->setWordWrap(true);
    node->setFont(font);
    node->setText(text);
    for (int32_t align = 1; align <= 4; ++align) {
        node->setTextHAlign(align);
        node->setTextVAlign(align);
        checkQuads(*node);
        int32_t line = 0;
        int32_t column = 0;
        for (const float y : {-5.0f, 3.0f, 20.0f, 1e6f})
            node->getCaretAtPoint({width / 2, y}, line, column);
        node->getCaretPosition(line, column);
    }
    const uint32_t last = node->getLines().size() - 1;
    node->insertCharAt(u'-', int32_t(last), int32_t(node->getLines()[last].text.length()));
    node->deleteCharAt(0, 0);
    checkQuads(*node);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    CRefPointer<CMemoryBlockFile> input = makeFuzzInputFile(data, size, u"fonts/fuzz.qfnt");
    const CRefPointer<CContentManager> manager = FuzzVideoContent::instance().makeManager();
    const CRefPointer<CContent> content = manager->loadFromFile(contentType("font"), input.get());
    if (!content)
        return 0;
    if (content->getContentType() != contentType("font"))
        __builtin_trap();
    auto* font = static_cast<CFontBase*>(content.get());
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(char16_t(data[i] | data[i + 1] << 8));
    CStringW text;
    text.assign(units.data(), uint32_t(units.size()));
    const CVector2d measured = font->measureText(text, {1, 2});
    const CVector2d extent = font->getGlyphExtent(size ? data[0] : 0, false);
    volatile float sink = measured.x + measured.y + extent.x;
    (void)sink;
    // The last bytes as characters of their own, where the seeds keep their text; more text
    // would only slow the fuzzer down.
    const size_t first = size > 512 ? size - 512 : 0;
    std::u16string bytes(data + first, data + size);
    CStringW layoutText;
    layoutText.assign(bytes.data(), uint32_t(bytes.size()));
    layOut(font, layoutText, float(size ? data[size - 1] % 64 : 0));
    return 0;
}
