#include "engine/io/ArchiveReaderFactory.h"

#include "engine/io/IVirtualFileSystem.h"

CRefPointer<IVirtualFilesReader> CArchiveReaderFactory::createFromFile(IInputFile* file,
                                                                       const char* password) {
    if (!file) {
        return nullptr;
    }
    file->seekTo(0, false);
    return createReader(file, password);
}

CRefPointer<IVirtualFilesReader> CArchiveReaderFactory::createFromPath(const CStringW& path,
                                                                       const char* password) {
    const CRefPointer<IInputFile> file = fileSystem()->openInputFile(path);
    return createFromFile(file.get(), password);
}
