#pragma once

#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// Content type 'atxc': atlas files, read and written as XML.
class CAtlasCollectionProcessor : public IContentProcessor {
public:
    explicit CAtlasCollectionProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    uint32_t getContentType() const override { return contentType("atxc"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool canSave(const CStringW& name) const override;
    // The option is not used.
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CAtlasCollectionProcessor() override = default;

private:
    CRefPointer<IVirtualFileSystem> m_fileSystem;
};
