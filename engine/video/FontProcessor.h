#pragma once

#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"
#include "engine/io/IVirtualFileSystem.h"

// Content type 'font': qfnt files whose root is <Font Type="Bitmap">; other font types load
// as nothing.
class CFontProcessor : public IContentProcessor {
public:
    explicit CFontProcessor(CRefPointer<IVirtualFileSystem> fileSystem);

    uint32_t getContentType() const override { return contentType("font"); }
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CFontProcessor() override = default;

private:
    CRefPointer<IVirtualFileSystem> m_fileSystem;
};
