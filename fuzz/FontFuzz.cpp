// Reads an arbitrary document as a font description over two real page images, then measures
// the document's own text with it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/video/FontBase.h"
#include "fuzz/FuzzInputFile.h"
#include "fuzz/FuzzVideoContent.h"

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
    const auto* font = static_cast<CFontBase*>(content.get());
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(char16_t(data[i] | data[i + 1] << 8));
    CStringW text;
    text.assign(units.data(), uint32_t(units.size()));
    const CVector2d measured = font->measureText(text, {1, 2});
    const CVector2d extent = font->getGlyphExtent(size ? data[0] : 0, false);
    volatile float sink = measured.x + measured.y + extent.x;
    (void)sink;
    return 0;
}
