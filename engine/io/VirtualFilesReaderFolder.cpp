#include "engine/io/VirtualFilesReaderFolder.h"

#include "engine/io/FolderEntryFile.h"

CVirtualFilesReaderFolder::CVirtualFilesReaderFolder(const CStringW& folder) : m_root(folder) {
    for (uint32_t i = 0; i < m_root.length(); ++i) {
        if (m_root[i] == u'\\') {
            m_root[i] = u'/';
        }
    }
    if (m_root.isEmpty() || m_root[m_root.length() - 1] != u'/') {
        m_root.append(u"/");
    }
}

CRefPointer<IInputFile> CVirtualFilesReaderFolder::openEntry(const CStringW& name) {
    return createFolderEntryFile(m_root + name, name);
}

int32_t CVirtualFilesReaderFolder::indexOfName(const CStringW& name) {
    return openEntry(name) ? 1 : -1;
}
