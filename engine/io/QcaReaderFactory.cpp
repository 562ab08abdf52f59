#include "engine/io/QcaReaderFactory.h"

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

CRefPointer<IVirtualFilesReader> CQcaReaderFactory::createReader(IInputFile* file,
                                                                 const char* password) {
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderQca(file, password));
}
