#include "engine/io/QcaReaderFactory.h"

#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/LittleEndian.h"
#include "engine/io/VirtualFilesReaderQca.h"

bool CQcaReaderFactory::acceptsContent(IInputFile* file) {
    uint8_t header[16] = {};
    file->seekTo(0, false);
    const bool whole = file->readBytes(header, 16) == 16;
    file->seekTo(0, false);
    return whole && readU32(header) == 0x00414351;
}

bool CQcaReaderFactory::acceptsName(const CStringW& path) {
    return hasArchiveExtension(path, "qca");
}

CRefPointer<IVirtualFilesReader> CQcaReaderFactory::createFromFile(IInputFile* file,
                                                                   const char* password) {
    if (!file) {
        return nullptr;
    }
    file->seekTo(0, false);
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderQca(file, password));
}

CRefPointer<IVirtualFilesReader> CQcaReaderFactory::createFromPath(const CStringW& path,
                                                                   const char* password) {
    const CRefPointer<IInputFile> file = fileSystem()->openInputFile(path);
    return createFromFile(file.get(), password);
}
