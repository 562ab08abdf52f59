#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"

class IVirtualFileSystem;

// What every archive keeps of an entry; each kind of reader extends it with its own fields.
struct VirtualFileEntry {
    CStringW name;
};

// A mounted archive: answers names with files. Names are compared exactly (letter case and
// separators count).
class IVirtualFilesReader : public CRefCounted {
public:
    // The archive's path with '/' separators.
    virtual CStringW archivePath() const = 0;
    // "mount", "zip" or "qca".
    virtual CStringW archiveKind() const = 0;
    virtual uint32_t entryCount() const = 0;
    // A new file for the entry, or null when the index is out of range or it does not open.
    virtual CRefPointer<IInputFile> openEntryAt(uint32_t index) = 0;
    virtual CRefPointer<IInputFile> openEntry(const CStringW& name) = 0;
    // The index of the entry of that name, or -1.
    virtual int32_t indexOfName(const CStringW& name) = 0;
    // The entry's record, owned by the reader; null when the index is out of range.
    virtual const VirtualFileEntry* entryAt(uint32_t index) const = 0;
};

// Recognises one kind of archive by name or by content and creates its reader. A factory keeps
// a pointer to the file system that owns it (no reference).
class IVirtualFilesReaderFactory : public CRefCounted {
public:
    explicit IVirtualFilesReaderFactory(IVirtualFileSystem* fileSystem)
        : m_fileSystem(fileSystem) {}

    // Called with the file at position 0.
    virtual bool acceptsContent(IInputFile* file) = 0;
    virtual bool acceptsName(const CStringW& path) = 0;
    // password is 8-bit text or null; the reader takes its own reference to file.
    virtual CRefPointer<IVirtualFilesReader> createFromFile(IInputFile* file,
                                                            const char* password) = 0;
    virtual CRefPointer<IVirtualFilesReader> createFromPath(const CStringW& path,
                                                            const char* password) = 0;

protected:
    IVirtualFileSystem* fileSystem() const { return m_fileSystem; }

private:
    IVirtualFileSystem* m_fileSystem;
};

// Whether the extension of path equals extension (lower-case), ignoring the case of A to Z
// only: how factories recognise their archives by name.
bool hasArchiveExtension(const CStringW& path, const char* extension);
