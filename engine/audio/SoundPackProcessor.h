#pragma once

#include "engine/core/RefPointer.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// The 'sndp' processor: sound packs read from XML, their sound names relative to the pack's
// folder. Packs are never saved.
class CSoundPackProcessor : public IContentProcessor {
public:
    explicit CSoundPackProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    static CRefPointer<IContentProcessor> create(const ContentProcessorServices& services);

    uint32_t getContentType() const override;
    // The cues' streaming types override the threshold of the engine's audio driver.
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool save(CContentManager&, CContent*, IOutputFile*, int32_t) override { return false; }

private:
    ~CSoundPackProcessor() override = default;

    CRefPointer<IVirtualFileSystem> m_fileSystem;
};
