#include "engine/video/ImageProcessor.h"

#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/video/ImageLoaderManager.h"

namespace {

CImageLoaderManager* imageLoaderManager() {
    return CEngineServices::instance()->getImageLoaderManager();
}

} // namespace

CRefPointer<CContent> CImageProcessor::load(CContentManager&, IInputFile* file,
                                            const CContentKey& key) {
    CImageLoaderManager* loaders = imageLoaderManager();
    CRefPointer<CSoftwareImage> image = loaders ? loaders->loadImage(file, key) : nullptr;
    if (!image)
        CLogger::instance()->log(CStringW(u"Can't load image: ").append(file->getName()),
                                 CLogger::LevelWarning);
    return image;
}

bool CImageProcessor::canSave(const CStringW&) const {
    return imageLoaderManager() != nullptr;
}

bool CImageProcessor::save(CContentManager&, CContent* object, IOutputFile* file, int32_t option) {
    CImageLoaderManager* loaders = imageLoaderManager();
    if (!loaders || !object || object->getContentType() != contentType("imag"))
        return false;
    return loaders->writeImage(static_cast<CSoftwareImage*>(object), file, option);
}
