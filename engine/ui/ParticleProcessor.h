#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// What the processors of particle collections ('prtc') and emitter files ('pemt') share: they
// read XML through the file system and never write.
class CParticleProcessor : public IContentProcessor {
public:
    explicit CParticleProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    // Logs that the content can't be saved; false.
    bool canSave(const CStringW& name) const override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CParticleProcessor() override = default;

    IVirtualFileSystem* getFileSystem() const { return m_fileSystem.get(); }

private:
    CRefPointer<IVirtualFileSystem> m_fileSystem;
};
