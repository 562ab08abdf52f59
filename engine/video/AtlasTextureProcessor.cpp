#include "engine/video/AtlasTextureProcessor.h"

#include "engine/io/ContentManager.h"
#include "engine/video/AtlasTexture.h"
#include "engine/video/ImageTexture.h"

CRefPointer<CContent> CAtlasTextureProcessor::load(CContentManager& manager, IInputFile* file,
                                                   const CContentKey& key) {
    const CRefPointer<CContent> content = manager.loadFromFile(contentType("itex"), file);
    if (!content || content->getContentType() != contentType("itex"))
        return nullptr;
    CRefPointer<CImageTexture> page =
        CRefPointer<CImageTexture>::share(static_cast<CImageTexture*>(content.get()));
    const IDriverTexture* texture = page->getTexture();
    if (!texture)
        return nullptr;
    // The image may lie in the top-left corner of a larger texture.
    const CPixelSize image = texture->getSourceSize();
    const CPixelSize storage = texture->getSize();
    if (image.width == 0 || image.height == 0)
        return nullptr;
    const CRect rect(0, 0, float(image.width) / float(storage.width),
                     float(image.height) / float(storage.height));
    return CRefPointer<CContent>(new CAtlasTexture(key, page, rect, {}, {}));
}

bool CAtlasTextureProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}
