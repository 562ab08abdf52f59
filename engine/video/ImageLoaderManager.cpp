#include "engine/video/ImageLoaderManager.h"

#include "engine/io/LoaderSearch.h"
#include "engine/video/JpegImageDecoder.h"
#include "engine/video/JpegImageEncoder.h"
#include "engine/video/JpgaImageDecoder.h"
#include "engine/video/PngImageDecoder.h"
#include "engine/video/PngImageEncoder.h"
#include "engine/video/QimgImageDecoder.h"

namespace {

constexpr int32_t kDefaultQuality = 100;

} // namespace

CImageLoaderManager::CImageLoaderManager() {
    m_decoders.append(CRefPointer<IImageDecoder>(new CJpegImageDecoder()));
    m_decoders.append(CRefPointer<IImageDecoder>(new CJpgaImageDecoder()));
    m_decoders.append(CRefPointer<IImageDecoder>(new CPngImageDecoder()));
    m_decoders.append(CRefPointer<IImageDecoder>(new CQimgImageDecoder()));
    m_encoders.append(CRefPointer<IImageEncoder>(new CJpegImageEncoder()));
    m_encoders.append(CRefPointer<IImageEncoder>(new CPngImageEncoder()));
}

CRefPointer<CSoftwareImage> CImageLoaderManager::loadImage(IInputFile* file,
                                                           const CContentKey& key) const {
    if (!file)
        return nullptr;
    return loadByExtensionThenContent(
        m_decoders, *file, [&](const IImageDecoder& decoder) { return decoder.load(file, key); });
}

bool CImageLoaderManager::writeImage(const CSoftwareImage* image, IOutputFile* file,
                                     int32_t quality) const {
    if (!image || !file)
        return false;
    if (quality == kNoQuality)
        quality = kDefaultQuality;
    for (const CRefPointer<IImageEncoder>& encoder : m_encoders) {
        if (encoder->acceptsExtension(file->getName()) && encoder->write(file, image, quality))
            return true;
    }
    return false;
}
