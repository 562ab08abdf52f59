#pragma once

#include "engine/core/ServiceReference.h"
#include "engine/io/IContentProcessor.h"

class IRenderDriver;

// Content type 'itex': an image file made into a texture of the video driver the processor
// holds. When the driver is replaced the cached image textures lose their textures and get
// new ones, made from their images by the new driver.
class CImageTextureProcessor : public IContentProcessor {
public:
    explicit CImageTextureProcessor(CServiceReference<IRenderDriver> videoDriver);

    int32_t getPriority() const override { return 1; }
    uint32_t getContentType() const override { return contentType("itex"); }
    // None when the image does not load or the driver makes no texture from it.
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;
    void notifyCached(CEvent& event, ContentCacheMap& cache) override;

    bool onVideoDriverRemoved(CEvent& event) override;
    bool onVideoDriverCreated(CEvent& event) override;

protected:
    ~CImageTextureProcessor() override = default;

private:
    // Every image texture made again from its image by the held driver, unless that is the
    // null driver, which makes no textures.
    void rebuild(ContentCacheMap& cache);

    CServiceReference<IRenderDriver> m_videoDriver;
};
