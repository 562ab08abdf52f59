#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/io/IVirtualFileSystem.h"

// The file system of the engine on Linux. It starts with the packed archive, zip and folder
// factories, in that order. The user data folder lies below $XDG_DATA_HOME, the common one
// below $XDG_STATE_HOME, the cache folder is "cache" in the working directory.
class CVirtualFileSystem : public IVirtualFileSystem {
public:
    CVirtualFileSystem();

    bool fileExists(const CStringW& name, bool checkArchives) override;
    bool removeFile(const CStringW& name) override;
    bool renameFile(const CStringW& from, const CStringW& to) override;
    CStringW makeUniqueFileName(const CStringW& directory, const CStringW& prefix) override;

    CRefPointer<IInputFile> openInputFile(const CStringW& name) override;
    CRefPointer<IInputFile> createMemoryInputFile(uint8_t* data, int32_t size, const CStringW& name,
                                                  bool deleteWhenDropped) override;
    CRefPointer<IOutputFile> createMemoryOutputFile(uint8_t* data, int32_t size,
                                                    const CStringW& name,
                                                    bool deleteWhenDropped) override;
    CRefPointer<IOutputFile> openOutputFile(const CStringW& name, bool append) override;

    IVirtualFilesReader* addArchiveFromFile(IInputFile* file, const char* password) override;
    IVirtualFilesReader* addArchive(const CStringW& path, const char* password) override;
    void removeArchive(IVirtualFilesReader* reader) override;
    uint32_t getArchiveCount() const override { return m_archives.size(); }
    IVirtualFilesReader* getArchive(uint32_t index) const override;
    void registerArchiveFactory(CRefPointer<IVirtualFilesReaderFactory> factory) override;

    CRefPointer<CXmlTextReader> openXmlReader(IInputFile* file) override;
    CRefPointer<CXmlTextReader> openXmlReader(const CStringW& name) override;
    CRefPointer<CXmlTextWriter> openXmlWriter(CRefPointer<IOutputFile> file) override;
    CRefPointer<CXmlTextWriter> openXmlWriter(const CStringW& name) override;

    void setUserDataFolder(const CStringW& folder) override { m_userDataFolder = folder; }
    CStringW getUserDataFolder() override;
    void setCommonDataFolder(const CStringW& folder) override { m_commonDataFolder = folder; }
    CStringW getCommonDataFolder() override;
    void setCacheFolder(const CStringW& folder) override { m_cacheFolder = folder; }
    CStringW getCacheFolder() override;

    void setDataFolderNames(const CStringW& publisherName, const CStringW& titleName) override;
    void setRandom(CRefPointer<CRandom> random) override { m_random = random; }

protected:
    ~CVirtualFileSystem() override;

private:
    // The first reader that a factory creates from the file's content, or null.
    CRefPointer<IVirtualFilesReader> createFromContent(IInputFile* file, const char* password);
    IVirtualFilesReader* mount(CRefPointer<IVirtualFilesReader> reader);
    // base/publisher/title, created when missing; empty when any part is missing or the folder
    // cannot be made.
    CStringW makeDataFolder(const CStringW& base) const;

    CArray<CRefPointer<IVirtualFilesReaderFactory>> m_factories;
    CArray<CRefPointer<IVirtualFilesReader>> m_archives;
    CStringW m_userDataFolder;
    CStringW m_commonDataFolder;
    CStringW m_cacheFolder;
    CStringW m_publisherName;
    CStringW m_titleName;
    CRefPointer<CRandom> m_random;
};
