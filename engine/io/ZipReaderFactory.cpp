#include "engine/io/ZipReaderFactory.h"

#include "engine/io/LittleEndian.h"
#include "engine/io/VirtualFilesReaderZip.h"

bool CZipReaderFactory::acceptsContent(IInputFile* file) {
    uint8_t bytes[4] = {};
    return file->readBytes(bytes, 4) == 4 && readU32(bytes) == 0x04034B50;
}

bool CZipReaderFactory::acceptsName(const CStringW& path) {
    return hasArchiveExtension(path, "zip") || hasArchiveExtension(path, "pk3");
}

CRefPointer<IVirtualFilesReader> CZipReaderFactory::createReader(IInputFile* file, const char*) {
    return CRefPointer<IVirtualFilesReader>(new CVirtualFilesReaderZip(file));
}
