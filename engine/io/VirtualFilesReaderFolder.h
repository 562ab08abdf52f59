#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IVirtualFilesReader.h"

// A folder on disk mounted as an archive: every name is looked up on disk below the root,
// anew on each call, and never above it. A folder cannot be listed, so it reports no entries.
class CVirtualFilesReaderFolder : public IVirtualFilesReader {
public:
    // folder is absolute; the root is it with '/' separators and a trailing '/'. An empty folder
    // gives no root, below which nothing opens.
    explicit CVirtualFilesReaderFolder(const CStringW& folder);

    CStringW archivePath() const override { return m_root; }
    CStringW archiveKind() const override { return CStringW(u"mount"); }
    uint32_t entryCount() const override { return 0; }
    CRefPointer<IInputFile> openEntryAt(uint32_t) override { return nullptr; }
    CRefPointer<IInputFile> openEntry(const CStringW& name) override;
    // 1 when the name opens below the root, else -1.
    int32_t indexOfName(const CStringW& name) override;
    const VirtualFileEntry* entryAt(uint32_t) const override { return nullptr; }

protected:
    ~CVirtualFilesReaderFolder() override = default;

private:
    CStringW m_root;
};
