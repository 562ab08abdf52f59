#pragma once

#include "engine/io/IContentProcessor.h"

// Content type 'atex' for names that no atlas collection registered: the image file of that
// name as one atlas texture covering the whole image.
class CAtlasTextureProcessor : public IContentProcessor {
public:
    uint32_t getContentType() const override { return contentType("atex"); }
    // None when the file does not make an image texture.
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CAtlasTextureProcessor() override = default;
};
