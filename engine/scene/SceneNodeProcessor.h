#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IContentProcessor.h"

class CNodeFactory;

// Loads scene files ('snod') into trees of nodes made by the node factory, and saves trees
// back. Files that include themselves, directly or through others, are refused, as are
// includes nested deeper than kMaxIncludeDepth.
class CSceneNodeProcessor : public IContentProcessor {
public:
    static constexpr uint32_t kMaxIncludeDepth = 16;

    explicit CSceneNodeProcessor(CRefPointer<CNodeFactory> factory);

    uint32_t getContentType() const override;
    CRefPointer<CContent> load(CContentManager& manager, IInputFile* file,
                               const CContentKey& key) override;
    bool canSave(const CStringW& name) const override;
    bool save(CContentManager& manager, CContent* object, IOutputFile* file,
              int32_t option) override;

protected:
    ~CSceneNodeProcessor() override;

private:
    CRefPointer<CNodeFactory> m_factory;
    // The names of the files being read, outermost first.
    CArray<int32_t> m_loading;
};
