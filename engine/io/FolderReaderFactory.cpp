#include "engine/io/FolderReaderFactory.h"

#include "engine/core/PosixFolders.h"
#include "engine/io/Path.h"
#include "engine/io/VirtualFilesReaderFolder.h"

bool CFolderReaderFactory::acceptsName(const CStringW& path) {
    return extensionOf(path).isEmpty();
}

CRefPointer<IVirtualFilesReader> CFolderReaderFactory::createFromPath(const CStringW& path,
                                                                      const char*) {
    const CStringW full = getFullPath(path);
    if (full.isEmpty() || !folderExists(toDiskPath(full).c_str())) {
        return nullptr;
    }
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderFolder(full));
}
