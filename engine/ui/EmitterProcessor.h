#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// Content type 'pemt': a file holding one emitter's properties, read into a BaseEmitter (which
// emits nothing). Particle systems find the emitters that collections publish instead.
class CEmitterProcessor : public IContentProcessor {
public:
    explicit CEmitterProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    uint32_t getContentType() const override { return contentType("pemt"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    // Logs that it can't save; false.
    bool canSave(const CStringW& name) const override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CEmitterProcessor() override = default;

private:
    CRefPointer<IVirtualFileSystem> m_fileSystem;
};
