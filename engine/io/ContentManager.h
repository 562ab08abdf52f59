#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ServiceReference.h"
#include "engine/core/String.h"
#include "engine/io/Content.h"
#include "engine/io/ContentProcessorsManager.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFileSystem.h"

class IRenderDriver;

// Loads content objects by type and name: resolves relative names against the names of the
// files being read, looks in its cache, opens the file, has the type's processor build the
// object, caches it and hands it out as the object's mode asks (the same shared object, a
// fresh copy of the cached one, or, for objects that are never cached, the object itself).
// The application registers it as a receiver with priority 1.
class CContentManager : public CEventReceiver, public IPropertyContentSource {
public:
    CContentManager(CServiceReference<IRenderDriver> videoDriver,
                    CRefPointer<IVirtualFileSystem> fileSystem,
                    CRefPointer<CContentProcessorsManager> processors);
    CContentManager(const CContentManager&) = delete;
    CContentManager& operator=(const CContentManager&) = delete;

    bool OnEvent(CEvent& event) override;
    // The children's slot: see notifyProcessors.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    // Hands the event to every processor that has cached objects, with its cache, in ascending
    // processor priority; false.
    virtual bool notifyProcessors(int32_t mode, CEvent& event);

    // Caching is switched only while the cache is empty.
    virtual void setCaching(bool caching) { m_caching = caching; }
    virtual bool isCaching() const { return m_caching; }

    // Objects come with one reference for the caller, or none when nothing loads.
    virtual CRefPointer<CContent> loadFromFile(uint32_t type, IInputFile* file);
    // A missing image ('imag', 'atex', 'itex') is looked for once more under its ".qimg" name
    // and cached under the name asked for.
    virtual CRefPointer<CContent> load(uint32_t type, const CStringW& name, bool relative);
    CRefPointer<CContent> loadAtlasTexture(const CStringW& name, bool relative);
    // The cached object; no reference added.
    virtual CContent* find(uint32_t type, const CContentKey& key) const;
    // The processor is asked whether it can save before the file is opened, so a type without
    // a writer leaves the file alone. The name is taken as it is.
    virtual bool save(uint32_t type, CContent* object, const CStringW& name, int32_t option);

    // Cache under the key's name id or the object's own; false for null, while caching is
    // off, for objects that are never cached and for a name already cached.
    virtual bool addToCacheAs(const CContentKey& key, CContent* object);
    virtual bool addToCache(CContent* object);
    // Releases the cached entry of the object's type and name, which may be another object
    // (the prototype of a copy).
    virtual void remove(CContent* object);
    // Drops the cached objects that only the cache holds.
    virtual void releaseUnused();
    virtual void releaseAll();

    virtual void pushDirectory(const CStringW& name);
    // The initial empty entry is never popped.
    virtual void popDirectory();
    virtual CStringW absolutePath(const CStringW& name) const;
    virtual CStringW relativePath(const CStringW& name) const;

    CRefPointer<IPropertyContent> loadContent(uint32_t type, const CStringW& name,
                                              bool relative) override;
    CStringW relativeContentPath(const CStringW& name) override { return relativePath(name); }

    IRenderDriver* getVideoDriver() const { return m_videoDriver.get(); }
    IVirtualFileSystem* getFileSystem() const { return m_fileSystem.get(); }
    CContentProcessorsManager* getProcessorsManager() const { return m_processors.get(); }

    bool onVideoDriverRemoved(CEvent& event);
    bool onVideoDriverCreated(CEvent& event);

    static const EventMap& getEventMap();

protected:
    ~CContentManager() override;

private:
    // The processor's new object; when the cache takes it the caller gets what the cache hands
    // out, else the object itself with its creation reference.
    CRefPointer<CContent> createWithProcessor(uint32_t type, const CContentKey& key,
                                              IInputFile* file);
    // A cached object as its mode asks: the object with one more reference, or a copy.
    static CRefPointer<CContent> handOut(CContent* cached);
    CRefPointer<IInputFile> openWithImageFallback(uint32_t type, const CStringW& name) const;
    // Erases the cache entry and releases its object; with onlyUnused only when nothing else
    // holds the object.
    void releaseEntry(uint32_t type, int32_t id, bool onlyUnused);

    CServiceReference<IRenderDriver> m_videoDriver;
    CRefPointer<IVirtualFileSystem> m_fileSystem;
    bool m_caching = true;
    CRefPointer<CContentProcessorsManager> m_processors;
    CArray<CStringW> m_directories;
    CMap<uint32_t, ContentCacheMap> m_cache;
};
