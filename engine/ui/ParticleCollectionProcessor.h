#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// Content type 'prtc': particle collection files, read as XML; never written.
class CParticleCollectionProcessor : public IContentProcessor {
public:
    explicit CParticleCollectionProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    uint32_t getContentType() const override { return contentType("prtc"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    // Logs that collections can't be saved; false.
    bool canSave(const CStringW& name) const override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CParticleCollectionProcessor() override = default;

private:
    CRefPointer<IVirtualFileSystem> m_fileSystem;
};

// The warning of both particle processors when asked to save.
bool refuseParticleSave(const CStringW& name);
