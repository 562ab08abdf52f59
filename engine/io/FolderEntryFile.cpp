#include "engine/io/FolderEntryFile.h"

CFolderEntryFile::CFolderEntryFile(const CStringW& diskPath, const CStringW& entryName)
    : CDiskInputFile(diskPath), m_entryName(entryName) {}

CRefPointer<IInputFile> createFolderEntryFile(const CStringW& diskPath, const CStringW& entryName) {
    CFolderEntryFile* file = new CFolderEntryFile(diskPath, entryName);
    if (!file->isOpen()) {
        file->release();
        return nullptr;
    }
    return CRefPointer<IInputFile>(file);
}
