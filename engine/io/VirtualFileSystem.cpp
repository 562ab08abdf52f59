#include "engine/io/VirtualFileSystem.h"

#include <cstdio>
#include <sys/stat.h>

#include "engine/core/Logger.h"
#include "engine/core/PosixFolders.h"
#include "engine/io/DiskInputFile.h"
#include "engine/io/DiskOutputFile.h"
#include "engine/io/FolderReaderFactory.h"
#include "engine/io/MemoryBlockFile.h"
#include "engine/io/Path.h"
#include "engine/io/QcaReaderFactory.h"
#include "engine/io/XdgFolders.h"
#include "engine/io/ZipReaderFactory.h"

namespace {

// "%06d": six digits with leading zeros.
CStringW sixDigits(uint32_t value) {
    char16_t digits[7] = {};
    for (int i = 5; i >= 0; --i) {
        digits[i] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    return CStringW(digits);
}

void logCouldNotCreate(const CStringW& name) {
    CLogger::instance()->log(u"Could not create archive for: " + name, CLogger::LevelError);
}

} // namespace

CVirtualFileSystem::CVirtualFileSystem() : m_random(new CRandom) {
    m_factories.append(CRefPointer<IVirtualFilesReaderFactory>(new CQcaReaderFactory(this)));
    m_factories.append(CRefPointer<IVirtualFilesReaderFactory>(new CZipReaderFactory(this)));
    m_factories.append(CRefPointer<IVirtualFilesReaderFactory>(new CFolderReaderFactory(this)));
}

CVirtualFileSystem::~CVirtualFileSystem() {
    m_archives.clear();
    m_factories.clear();
}

bool CVirtualFileSystem::fileExists(const CStringW& name, bool checkArchives) {
    if (checkArchives) {
        for (const CRefPointer<IVirtualFilesReader>& archive : m_archives) {
            if (archive->indexOfName(name) != -1) {
                return true;
            }
        }
    }
    struct stat info;
    return !name.isEmpty() && stat(toDiskPath(name).c_str(), &info) == 0;
}

bool CVirtualFileSystem::removeFile(const CStringW& name) {
    return std::remove(toDiskPath(name).c_str()) == 0;
}

bool CVirtualFileSystem::renameFile(const CStringW& from, const CStringW& to) {
    return std::rename(toDiskPath(from).c_str(), toDiskPath(to).c_str()) == 0;
}

CStringW CVirtualFileSystem::makeUniqueFileName(const CStringW& directory, const CStringW& prefix) {
    for (;;) {
        const CStringW candidate = prefix + sixDigits(m_random->next() % 999999);
        if (!fileExists(directory + u"/" + candidate, false)) {
            return candidate;
        }
    }
}

CRefPointer<IInputFile> CVirtualFileSystem::openInputFile(const CStringW& name) {
    CRefPointer<IInputFile> file = createDiskInputFile(name);
    for (uint32_t i = 0; !file && i < m_archives.size(); ++i) {
        file = m_archives[i]->openEntry(name);
    }
    return file;
}

CRefPointer<IInputFile> CVirtualFileSystem::createMemoryInputFile(uint8_t* data, int32_t size,
                                                                  const CStringW& name,
                                                                  bool deleteWhenDropped) {
    if (!data) {
        return nullptr;
    }
    return CRefPointer<IInputFile>(new CMemoryBlockFile(data, size, name, deleteWhenDropped));
}

CRefPointer<IOutputFile> CVirtualFileSystem::createMemoryOutputFile(uint8_t* data, int32_t size,
                                                                    const CStringW& name,
                                                                    bool deleteWhenDropped) {
    if (!data) {
        return nullptr;
    }
    return CRefPointer<IOutputFile>(new CMemoryBlockFile(data, size, name, deleteWhenDropped));
}

CRefPointer<IOutputFile> CVirtualFileSystem::openOutputFile(const CStringW& name, bool append) {
    return createDiskOutputFile(name, append);
}

CRefPointer<IVirtualFilesReader> CVirtualFileSystem::createFromContent(IInputFile* file,
                                                                       const char* password) {
    for (const CRefPointer<IVirtualFilesReaderFactory>& factory : m_factories) {
        file->seekTo(0, false);
        if (!factory->acceptsContent(file)) {
            continue;
        }
        file->seekTo(0, false);
        CRefPointer<IVirtualFilesReader> reader = factory->createFromFile(file, password);
        if (reader) {
            return reader;
        }
    }
    return nullptr;
}

IVirtualFilesReader* CVirtualFileSystem::mount(CRefPointer<IVirtualFilesReader> reader) {
    IVirtualFilesReader* mounted = reader.get();
    m_archives.append(std::move(reader));
    return mounted;
}

IVirtualFilesReader* CVirtualFileSystem::addArchiveFromFile(IInputFile* file,
                                                            const char* password) {
    if (!file) {
        return nullptr;
    }
    CRefPointer<IVirtualFilesReader> reader = createFromContent(file, password);
    if (!reader) {
        logCouldNotCreate(file->getName());
        return nullptr;
    }
    return mount(std::move(reader));
}

IVirtualFilesReader* CVirtualFileSystem::addArchive(const CStringW& path, const char* password) {
    for (const CRefPointer<IVirtualFilesReaderFactory>& factory : m_factories) {
        if (!factory->acceptsName(path)) {
            continue;
        }
        CRefPointer<IVirtualFilesReader> reader = factory->createFromPath(path, password);
        if (reader) {
            return mount(std::move(reader));
        }
    }
    if (CRefPointer<IInputFile> file = openInputFile(path)) {
        if (CRefPointer<IVirtualFilesReader> reader = createFromContent(file.get(), password)) {
            return mount(std::move(reader));
        }
    }
    logCouldNotCreate(path);
    return nullptr;
}

void CVirtualFileSystem::removeArchive(IVirtualFilesReader* reader) {
    for (uint32_t i = 0; i < m_archives.size(); ++i) {
        if (m_archives[i].get() == reader) {
            m_archives.eraseAt(i);
            return;
        }
    }
}

IVirtualFilesReader* CVirtualFileSystem::getArchive(uint32_t index) const {
    return index < m_archives.size() ? m_archives[index].get() : nullptr;
}

void CVirtualFileSystem::registerArchiveFactory(CRefPointer<IVirtualFilesReaderFactory> factory) {
    if (factory) {
        m_factories.append(std::move(factory));
    }
}

CRefPointer<CXmlTextReader> CVirtualFileSystem::openXmlReader(IInputFile* file) {
    if (!file) {
        return nullptr;
    }
    return CRefPointer<CXmlTextReader>(new CXmlTextReader(file));
}

CRefPointer<CXmlTextReader> CVirtualFileSystem::openXmlReader(const CStringW& name) {
    const CRefPointer<IInputFile> file = openInputFile(name);
    return openXmlReader(file.get());
}

CRefPointer<CXmlTextWriter> CVirtualFileSystem::openXmlWriter(CRefPointer<IOutputFile> file) {
    return CRefPointer<CXmlTextWriter>(new CXmlTextWriter(std::move(file)));
}

CRefPointer<CXmlTextWriter> CVirtualFileSystem::openXmlWriter(const CStringW& name) {
    CRefPointer<IOutputFile> file = openOutputFile(name, false);
    if (!file) {
        return nullptr;
    }
    return openXmlWriter(std::move(file));
}

void CVirtualFileSystem::setDataFolderNames(const CStringW& publisherName,
                                            const CStringW& titleName) {
    m_publisherName = publisherName;
    m_titleName = titleName;
}

CStringW CVirtualFileSystem::makeDataFolder(const CStringW& base) const {
    if (base.isEmpty() || m_publisherName.isEmpty() || m_titleName.isEmpty()) {
        return CStringW();
    }
    const CStringW folder = base + u"/" + m_publisherName + u"/" + m_titleName;
    return makeFolders(toDiskPath(folder).c_str()) ? folder : CStringW();
}

CStringW CVirtualFileSystem::getUserDataFolder() {
    return m_userDataFolder.isEmpty() ? makeDataFolder(xdgDataHome()) : m_userDataFolder;
}

// No Linux folder is writable by every user without setup: shared data goes to XDG state.
CStringW CVirtualFileSystem::getCommonDataFolder() {
    return m_commonDataFolder.isEmpty() ? makeDataFolder(xdgStateHome()) : m_commonDataFolder;
}

CStringW CVirtualFileSystem::getCacheFolder() {
    if (!m_cacheFolder.isEmpty()) {
        return m_cacheFolder;
    }
    return makeFolders("cache") ? CStringW(u"cache") : CStringW();
}
