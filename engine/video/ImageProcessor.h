#pragma once

#include "engine/io/IContentProcessor.h"

// Content type 'imag': software images, read and written through the engine's image loader
// manager.
class CImageProcessor : public IContentProcessor {
public:
    uint32_t getContentType() const override { return contentType("imag"); }
    // Logs the file's name when no decoder reads it.
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool canSave(const CStringW& name) const override;
    // The option is the quality of encoders that take one.
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CImageProcessor() override = default;
};
