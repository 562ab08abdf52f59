// Reads an arbitrary document as an atlas file over two real page images, then writes it and
// reads the result: the entries come back as they were. Margins are written with six
// decimals, so those of pixel size come back to within that.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/io/VirtualFile.h"
#include "engine/video/AtlasTextureCollection.h"
#include "fuzz/FuzzInputFile.h"
#include "fuzz/FuzzVideoContent.h"

namespace {

CRefPointer<AtlasTextureCollection> readAtlas(IInputFile* file) {
    const CRefPointer<CContentManager> manager = FuzzVideoContent::instance().makeManager();
    const CRefPointer<CContent> content = manager->loadFromFile(contentType("atxc"), file);
    if (!content || content->getContentType() != contentType("atxc"))
        __builtin_trap();
    return CRefPointer<AtlasTextureCollection>::share(
        static_cast<AtlasTextureCollection*>(content.get()));
}

CRefPointer<CVirtualFile> writeAtlas(AtlasTextureCollection& atlas) {
    CRefPointer<CVirtualFile> file(new CVirtualFile(u"atlases/out.xml", 4096));
    {
        CRefPointer<CXmlTextWriter> writer(
            new CXmlTextWriter(CRefPointer<IOutputFile>::share(file.get())));
        writer->writeHeader();
        atlas.writeXml(*writer);
    }
    file->seekTo(0, false);
    return file;
}

// Within the six decimals written, for margins of a size that pixels have.
bool sameMargin(float written, float read) {
    if (!(std::fabs(written) < 1e6f))
        return true;
    return std::fabs(written - read) <= 1e-6f + 1e-6f * std::fabs(written);
}

bool sameMargins(const CVector2d& written, const CVector2d& read) {
    return sameMargin(written.x, read.x) && sameMargin(written.y, read.y);
}

bool sameEntries(const AtlasTextureCollection& a, const AtlasTextureCollection& b) {
    if (a.getEntries().size() != b.getEntries().size())
        return false;
    for (uint32_t i = 0; i < a.getEntries().size(); ++i) {
        const AtlasTextureCollection::Entry& x = a.getEntries()[i];
        const AtlasTextureCollection::Entry& y = b.getEntries()[i];
        if (!(x.name == y.name) || x.page != y.page || x.x1 != y.x1 || x.y1 != y.y1 ||
            x.x2 != y.x2 || x.y2 != y.y2 || !sameMargins(x.before, y.before) ||
            !sameMargins(x.after, y.after))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16))
        return 0;
    CRefPointer<CMemoryBlockFile> input = makeFuzzInputFile(data, size, u"atlases/fuzz.xml");
    const CRefPointer<AtlasTextureCollection> atlas = readAtlas(input.get());
    for (const CRefPointer<CAtlasTexture>& texture : atlas->getAtlasTextures()) {
        const CRect& rect = texture->getRect();
        if (!texture->getDriverTexture() || rect.left == rect.right || rect.top == rect.bottom)
            __builtin_trap();
    }
    const CRefPointer<CVirtualFile> written = writeAtlas(*atlas);
    const CRefPointer<AtlasTextureCollection> reread = readAtlas(written.get());
    if (!sameEntries(*atlas, *reread))
        __builtin_trap();
    return 0;
}
