#include "engine/io/VirtualFilesReaderFolder.h"

#include "engine/io/FolderEntryFile.h"
#include "engine/io/Path.h"

CVirtualFilesReaderFolder::CVirtualFilesReaderFolder(const CStringW& folder)
    : m_root(withForwardSlashes(folder)) {
    if (!m_root.isEmpty() && m_root[m_root.length() - 1] != u'/') {
        m_root.append(u"/");
    }
}

// A name is looked up below the root only: without a root, or with a ".." step that could
// climb out of it, nothing opens.
CRefPointer<IInputFile> CVirtualFilesReaderFolder::openEntry(const CStringW& name) {
    if (m_root.isEmpty() || hasParentStep(name)) {
        return nullptr;
    }
    return createFolderEntryFile(m_root + name, name);
}

int32_t CVirtualFilesReaderFolder::indexOfName(const CStringW& name) {
    return openEntry(name) ? 1 : -1;
}
