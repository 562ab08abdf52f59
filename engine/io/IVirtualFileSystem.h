#pragma once

#include <cstdint>

#include "engine/core/Random.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IOutputFile.h"
#include "engine/io/IVirtualFilesReader.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

// The one door to files: names are read from the disk first and then from the mounted archives
// in mount order; writes go to the disk only. Files, readers and writers come back with one
// reference for the caller; mounted archives stay owned by the file system.
class IVirtualFileSystem : public virtual CRefCounted {
public:
    // True when the name exists on disk (a folder too), or, with checkArchives, in an archive.
    virtual bool fileExists(const CStringW& name, bool checkArchives) = 0;
    virtual bool removeFile(const CStringW& name) = 0;
    virtual bool renameFile(const CStringW& from, const CStringW& to) = 0;
    // prefix followed by six random digits, naming no file in directory.
    virtual CStringW makeUniqueFileName(const CStringW& directory, const CStringW& prefix) = 0;

    virtual CRefPointer<IInputFile> openInputFile(const CStringW& name) = 0;
    // Null for null data; otherwise a memory file over data (see CMemoryBlockFile).
    virtual CRefPointer<IInputFile> createMemoryInputFile(uint8_t* data, int32_t size,
                                                          const CStringW& name,
                                                          bool deleteWhenDropped) = 0;
    virtual CRefPointer<IOutputFile> createMemoryOutputFile(uint8_t* data, int32_t size,
                                                            const CStringW& name,
                                                            bool deleteWhenDropped) = 0;
    virtual CRefPointer<IOutputFile> openOutputFile(const CStringW& name, bool append) = 0;

    // Mounting recognises the archive by its name, then by its first bytes; password is 8-bit
    // text or null. The reader stays owned by the file system; null (and a log line) when no
    // factory can read it.
    virtual IVirtualFilesReader* addArchiveFromFile(IInputFile* file, const char* password) = 0;
    virtual IVirtualFilesReader* addArchive(const CStringW& path, const char* password) = 0;
    // Unmounts and releases the reader; one that is not mounted changes nothing.
    virtual void removeArchive(IVirtualFilesReader* reader) = 0;
    virtual uint32_t getArchiveCount() const = 0;
    virtual IVirtualFilesReader* getArchive(uint32_t index) const = 0;
    // Appends a factory after the built-in ones; null is ignored.
    virtual void registerArchiveFactory(CRefPointer<IVirtualFilesReaderFactory> factory) = 0;

    virtual CRefPointer<CXmlTextReader> openXmlReader(IInputFile* file) = 0;
    virtual CRefPointer<CXmlTextReader> openXmlReader(const CStringW& name) = 0;
    virtual CRefPointer<CXmlTextWriter> openXmlWriter(CRefPointer<IOutputFile> file) = 0;
    // Creates or truncates the file; null when it cannot be opened.
    virtual CRefPointer<CXmlTextWriter> openXmlWriter(const CStringW& name) = 0;

    // A folder set here is answered as it is. Without one, the getters build the folder below
    // the system's base folder and create it; they answer empty when it cannot be found or
    // made, and callers then write nothing there.
    virtual void setUserDataFolder(const CStringW& folder) = 0;
    virtual CStringW getUserDataFolder() = 0;
    virtual void setCommonDataFolder(const CStringW& folder) = 0;
    virtual CStringW getCommonDataFolder() = 0;
    virtual void setCacheFolder(const CStringW& folder) = 0;
    virtual CStringW getCacheFolder() = 0;

    // The publisher and title folders that the user and common data folders are built from
    // (the global properties "PublisherName" and "TitleName"); both must be set.
    virtual void setDataFolderNames(const CStringW& publisherName, const CStringW& titleName) = 0;
    // The generator that makeUniqueFileName draws from: the engine's shared one.
    virtual void setRandom(CRefPointer<CRandom> random) = 0;
};
