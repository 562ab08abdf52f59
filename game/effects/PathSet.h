#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "game/effects/Path.h"

class CXmlTextReader;
class IVirtualFileSystem;

// The paths of one paths file, in file order: "Paths" holding "Path" elements of "p" points.
// The map picks its travellers' paths by index.
class GPathSet : public CRefCounted {
public:
    GPathSet() = default;

    // Replaces the paths by those of the reader's text, wherever their elements stand; true
    // when the end tag "Paths" was met, false when the text ended first (the paths read so far
    // stay).
    bool load(CXmlTextReader& reader);
    // The same from a file; a missing file leaves the set empty without a word (the files are
    // optional), one that ends early keeps what it held and is named in a warning.
    void loadFile(IVirtualFileSystem& files, const CStringW& name);

    uint32_t getPathCount() const { return m_paths.size(); }
    GPath* getPath(uint32_t index) const { return m_paths[index].get(); }

protected:
    ~GPathSet() override = default;

private:
    CArray<CRefPointer<GPath>> m_paths;
};
