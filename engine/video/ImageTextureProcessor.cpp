#include "engine/video/ImageTextureProcessor.h"

#include <utility>

#include "engine/core/DeviceDriverEvents.h"
#include "engine/io/ContentManager.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/ImageTexture.h"
#include "engine/video/SoftwareImage.h"

namespace {

CRefPointer<IDriverTexture> textureFromImage(IRenderDriver* driver,
                                             const CRefPointer<CContent>& image) {
    if (!driver || !image || image->getContentType() != contentType("imag"))
        return nullptr;
    return driver->createDeviceTexture(static_cast<CSoftwareImage*>(image.get()));
}

} // namespace

CImageTextureProcessor::CImageTextureProcessor(CServiceReference<IRenderDriver> videoDriver)
    : m_videoDriver(std::move(videoDriver)) {
    setCategoryMask(CEvent::CategoryDevice);
}

CRefPointer<CContent> CImageTextureProcessor::load(CContentManager& manager, IInputFile* file,
                                                   const CContentKey& key) {
    CRefPointer<IDriverTexture> texture =
        textureFromImage(m_videoDriver.get(), manager.loadFromFile(contentType("imag"), file));
    if (!texture)
        return nullptr;
    return CRefPointer<CContent>(new CImageTexture(key, file->getName(), texture.get()));
}

bool CImageTextureProcessor::save(CContentManager&, CContent*, IOutputFile*, int32_t) {
    return false;
}

void CImageTextureProcessor::notifyCached(CEvent& event, ContentCacheMap& cache) {
    if (event.getTypeId() == CEventVideoDriverRemoved::Id) {
        for (auto& entry : cache)
            static_cast<CImageTexture*>(entry.value.get())->setTexture(nullptr);
    } else if (event.getTypeId() == CEventVideoDriverCreated::Id) {
        rebuild(cache);
    }
}

void CImageTextureProcessor::rebuild(ContentCacheMap& cache) {
    IRenderDriver* driver = m_videoDriver.get();
    if (!driver || driver->getDriverKind() == DRIVER_KIND_NULL)
        return;
    for (auto& entry : cache) {
        auto* imageTexture = static_cast<CImageTexture*>(entry.value.get());
        CContentManager* owner = imageTexture->getContentKey().getOwner();
        if (!owner)
            continue;
        CRefPointer<IDriverTexture> texture = textureFromImage(
            driver, owner->load(contentType("imag"), imageTexture->getImageName(), false));
        if (texture)
            imageTexture->setTexture(texture.get());
    }
}

bool CImageTextureProcessor::onVideoDriverRemoved(CEvent&) {
    m_videoDriver.reset();
    return false;
}

bool CImageTextureProcessor::onVideoDriverCreated(CEvent& event) {
    m_videoDriver = static_cast<CEventVideoDriverCreated&>(event).getDriver();
    return false;
}
