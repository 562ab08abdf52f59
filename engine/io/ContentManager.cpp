#include "engine/io/ContentManager.h"

#include <utility>

#include "engine/core/DeviceDriverEvents.h"
#include "engine/io/Path.h"

namespace {

bool isImageType(uint32_t type) {
    return type == contentType("imag") || type == contentType("atex") ||
           type == contentType("itex");
}

// The name with its extension, if the last component has one, replaced by ".qimg". A dot in
// a folder name is not an extension.
CStringW qimgName(const CStringW& name) {
    const char16_t stops[] = {u'.', u'/', u'\\', u':'};
    const int at = name.findLastOf(stops, 4);
    CStringW result =
        at >= 0 && name[uint32_t(at)] == u'.' ? name.subString(0, uint32_t(at)) : name;
    result.append(u".qimg");
    return result;
}

struct Notification {
    IContentProcessor* processor;
    ContentCacheMap* cache;
    int32_t priority;
};

// Stable insertion sort by ascending priority; the lists are a handful of entries.
void sortByPriority(CArray<Notification>& list) {
    for (uint32_t i = 1; i < list.size(); ++i) {
        const Notification moving = list[i];
        uint32_t at = i;
        for (; at > 0 && list[at - 1].priority > moving.priority; --at)
            list[at] = list[at - 1];
        list[at] = moving;
    }
}

} // namespace

CContentManager::CContentManager(CServiceReference<IRenderDriver> videoDriver,
                                 CRefPointer<IVirtualFileSystem> fileSystem,
                                 CRefPointer<CContentProcessorsManager> processors)
    : m_videoDriver(std::move(videoDriver)), m_fileSystem(std::move(fileSystem)),
      m_processors(std::move(processors)) {
    setCategoryMask(CEvent::CategoryDevice);
    m_directories.append(CStringW());
}

// Keys and values that outlive the manager find no owner from here on.
CContentManager::~CContentManager() {
    releaseAll();
    cutLink();
}

bool CContentManager::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

const EventMap& CContentManager::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventVideoDriverRemoved::Id,
         &eventHandler<CContentManager, &CContentManager::onVideoDriverRemoved>},
        {CEventVideoDriverCreated::Id,
         &eventHandler<CContentManager, &CContentManager::onVideoDriverCreated>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool CContentManager::onVideoDriverRemoved(CEvent&) {
    m_videoDriver.reset();
    return false;
}

bool CContentManager::onVideoDriverCreated(CEvent& event) {
    m_videoDriver = static_cast<CEventVideoDriverCreated&>(event).getDriver();
    return false;
}

bool CContentManager::sendToChildren(int32_t mode, CEvent& event) {
    return notifyProcessors(mode, event);
}

bool CContentManager::notifyProcessors(int32_t, CEvent& event) {
    if (!m_processors)
        return false;
    CArray<Notification> list;
    for (auto& entry : m_cache) {
        IContentProcessor* processor = m_processors->findProcessor(entry.key);
        if (entry.value.size() != 0 && processor)
            list.append(Notification{processor, &entry.value, processor->getPriority()});
    }
    sortByPriority(list);
    for (const Notification& notification : list)
        notification.processor->notifyCached(event, *notification.cache);
    return false;
}

CRefPointer<CContent> CContentManager::load(uint32_t type, const CStringW& name, bool relative) {
    if (name.isEmpty())
        return nullptr;
    const CStringW path = relative ? absolutePath(name) : name;
    const CContentKey key(this, path);
    if (CContent* cached = find(type, key))
        return handOut(cached);
    const CRefPointer<IInputFile> file = openWithImageFallback(type, path);
    if (!file)
        return nullptr;
    return createWithProcessor(type, key, file.get());
}

CRefPointer<IInputFile> CContentManager::openWithImageFallback(uint32_t type,
                                                               const CStringW& name) const {
    CRefPointer<IInputFile> file = m_fileSystem->openInputFile(name);
    if (!file && isImageType(type))
        file = m_fileSystem->openInputFile(qimgName(name));
    return file;
}

CRefPointer<CContent> CContentManager::loadAtlasTexture(const CStringW& name, bool relative) {
    return load(contentType("atex"), name, relative);
}

CRefPointer<CContent> CContentManager::loadFromFile(uint32_t type, IInputFile* file) {
    if (!file)
        return nullptr;
    const CContentKey key(this, file->getName());
    if (CContent* cached = find(type, key))
        return handOut(cached);
    return createWithProcessor(type, key, file);
}

CRefPointer<CContent> CContentManager::createWithProcessor(uint32_t type, const CContentKey& key,
                                                           IInputFile* file) {
    IContentProcessor* processor = m_processors ? m_processors->findProcessor(type) : nullptr;
    if (!processor)
        return nullptr;
    CRefPointer<CContent> object = processor->load(*this, file, key);
    if (object && addToCache(object.get()))
        return handOut(object.get());
    return object;
}

CRefPointer<CContent> CContentManager::handOut(CContent* cached) {
    if (cached->getHandOutMode() & CContent::kShared)
        return CRefPointer<CContent>::share(cached);
    return cached->makeCopy();
}

CContent* CContentManager::find(uint32_t type, const CContentKey& key) const {
    const auto inner = m_cache.find(type);
    if (inner == m_cache.end())
        return nullptr;
    const auto found = inner->value.find(key.getNameId());
    return found == inner->value.end() ? nullptr : found->value.get();
}

bool CContentManager::save(uint32_t type, CContent* object, const CStringW& name, int32_t option) {
    IContentProcessor* processor = m_processors ? m_processors->findProcessor(type) : nullptr;
    if (!processor || !processor->canSave(name))
        return false;
    const CRefPointer<IOutputFile> file = m_fileSystem->openOutputFile(name, false);
    return file && processor->save(*this, object, file.get(), option);
}

bool CContentManager::addToCacheAs(const CContentKey& key, CContent* object) {
    if (!object || !m_caching || (object->getHandOutMode() & CContent::kNeverCached))
        return false;
    ContentCacheMap& inner = m_cache[object->getContentType()];
    return inner.insert(key.getNameId(), CRefPointer<CContent>::share(object)).inserted;
}

bool CContentManager::addToCache(CContent* object) {
    return object && addToCacheAs(object->getContentKey(), object);
}

void CContentManager::remove(CContent* object) {
    if (object)
        releaseEntry(object->getContentType(), object->getContentKey().getNameId(), false);
}

// The entries are collected first: releasing an object may call back into the manager.
void CContentManager::releaseUnused() {
    struct Entry {
        uint32_t type;
        int32_t id;
    };
    CArray<Entry> unused;
    for (const auto& inner : m_cache) {
        for (const auto& entry : inner.value) {
            if (entry.value->getRefCount() == 1)
                unused.append(Entry{inner.key, entry.key});
        }
    }
    for (const Entry& entry : unused)
        releaseEntry(entry.type, entry.id, true);
}

// The entry leaves the map before the object is released, so that a destructor calling back
// into the manager finds a consistent cache.
void CContentManager::releaseEntry(uint32_t type, int32_t id, bool onlyUnused) {
    const auto inner = m_cache.find(type);
    if (inner == m_cache.end())
        return;
    const auto found = inner->value.find(id);
    if (found == inner->value.end() || (onlyUnused && found->value->getRefCount() != 1))
        return;
    const CRefPointer<CContent> released = std::move(found->value);
    inner->value.erase(id);
}

void CContentManager::releaseAll() {
    CMap<uint32_t, ContentCacheMap> released = std::move(m_cache);
    released.clear();
}

void CContentManager::pushDirectory(const CStringW& name) {
    m_directories.append(name);
}

void CContentManager::popDirectory() {
    if (m_directories.size() > 1)
        m_directories.eraseAt(m_directories.size() - 1);
}

CStringW CContentManager::absolutePath(const CStringW& name) const {
    return resolveRelativePath(m_directories[m_directories.size() - 1], name);
}

CStringW CContentManager::relativePath(const CStringW& name) const {
    return makeRelativePath(m_directories[m_directories.size() - 1], name);
}

CRefPointer<IPropertyContent> CContentManager::loadContent(uint32_t type, const CStringW& name,
                                                           bool relative) {
    CRefPointer<CContent> content = load(type, name, relative);
    return CRefPointer<IPropertyContent>(content.detach());
}
