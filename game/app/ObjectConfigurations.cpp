#include "game/app/ObjectConfigurations.h"

#include "engine/core/Array.h"
#include "engine/core/Logger.h"
#include "engine/core/String.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

constexpr const char16_t* kFiles[] = {
    u"levels/common/ResourceConfigs.xml",       u"levels/common/LocationConfigs.xml",
    u"levels/common/StaffConfigs.xml",          u"levels/common/ClientConfigs.xml",
    u"levels/common/ClientWishListConfigs.xml",
};
constexpr uint32_t kResourceFile = 0;
constexpr uint32_t kLocationFile = 1;

int32_t cappedCount(int32_t count) {
    return count < ObjectConfigurations::kMaxModificationCount
               ? count
               : ObjectConfigurations::kMaxModificationCount;
}

// Calls visit(suffix, twoCounts) with the digits that name each variant of the resource, in
// order, until visit returns false: "1" .. "n" for the counts n, "11" .. "nm" for n and m.
template <typename Visit>
void forEachVariantSuffix(const GResourceConfig& resource, Visit visit) {
    const CArray<int32_t>& counts = resource.modificationsCount;
    if (counts.size() == 0)
        return;
    const int32_t first = cappedCount(counts[0]);
    const int32_t second = counts.size() >= 2 ? cappedCount(counts[1]) : 0;
    if (second > 1) {
        for (int32_t i = 1; i <= first; ++i) {
            for (int32_t j = 1; j <= second; ++j) {
                if (!visit(CString(i).append(j), true))
                    return;
            }
        }
        return;
    }
    for (int32_t j = 1; j <= first; ++j) {
        if (!visit(CString(j), false))
            return;
    }
}

CNameId withSuffix(CNameId name, const CString& suffix) {
    return CNameId(name.toString() + suffix);
}

} // namespace

CArray<CStringW> ObjectConfigurations::loadFiles(IVirtualFileSystem& fileSystem) {
    CArray<CStringW> missing;
    for (uint32_t i = 0; i < sizeof(kFiles) / sizeof(kFiles[0]); ++i) {
        const CRefPointer<CXmlTextReader> reader = fileSystem.openXmlReader(CStringW(kFiles[i]));
        if (!reader) {
            missing.append(CStringW(kFiles[i]));
            continue;
        }
        load(*reader);
        if (i == kResourceFile)
            deriveModifiedResources();
        else if (i == kLocationFile)
            resolveLocationResources();
    }
    return missing;
}

void ObjectConfigurations::load(CXmlTextReader& reader) {
    while (reader.readNext()) {
        if (isEndElement(reader, u"ObjectConfigurations"))
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement)
            continue;
        const CStringW& name = reader.nodeName();
        if (name == u"Location")
            readRecord(reader, m_locations);
        else if (name == u"Resource")
            readRecord(reader, m_resources);
        else if (name == u"Client")
            readRecord(reader, m_clients);
        else if (name == u"Staff")
            readRecord(reader, m_staff);
        else if (name == u"ClientWishList")
            readWishList(reader);
    }
}

void ObjectConfigurations::clear() {
    m_locations.clear();
    m_resources.clear();
    m_clients.clear();
    m_staff.clear();
    m_wishLists.clear();
}

// The resources are collected first: the map must not change while it is walked.
void ObjectConfigurations::deriveModifiedResources() {
    CArray<GResourceConfig*> sources;
    for (const auto& entry : m_resources) {
        if (entry.value->modificationsCount.size() > 0)
            sources.append(entry.value.get());
    }
    uint32_t budget = kMaxDerivedSize;
    for (GResourceConfig* source : sources)
        deriveVariants(*source, budget);
}

void ObjectConfigurations::resolveLocationResources() {
    for (const auto& entry : m_locations)
        expandLocationResources(*entry.value);
}

template <typename Record>
void ObjectConfigurations::readRecord(CXmlTextReader& reader,
                                      CMap<CNameId, CRefPointer<Record>>& records) {
    CRefPointer<Record> record(new Record);
    record->load(reader);
    records.insert(record->name, record);
}

void ObjectConfigurations::readWishList(CXmlTextReader& reader) {
    CRefPointer<GClientWishList> root(new GClientWishList(nullptr));
    root->load(reader);
    m_wishLists.insert(root->name, root);
}

void ObjectConfigurations::deriveVariants(const GResourceConfig& resource, uint32_t& budget) {
    const uint32_t cost = 1 + resource.additionalItems.size() + resource.specificResources.size();
    forEachVariantSuffix(resource, [&](const CString& suffix, bool twoCounts) {
        if (cost > budget) {
            if (budget > 0)
                CLogger::instance()->log(u"Too many resource variants; the rest are not derived",
                                         CLogger::LevelWarning);
            budget = 0;
            return false;
        }
        CRefPointer<GResourceConfig> variant = resource.clone();
        variant->name = withSuffix(resource.name, suffix);
        variant->iconName = resource.iconName + suffix;
        if (!twoCounts && resource.convertsFrom != CNameId())
            variant->convertsFrom = withSuffix(resource.convertsFrom, suffix);
        variant->unmodifiedResource = resource.name;
        if (m_resources.insert(variant->name, variant).inserted)
            budget -= cost;
        return true;
    });
}

// Entries appended for variants are walked later in the same pass, like any other entry.
void ObjectConfigurations::expandLocationResources(GLocationConfig& location) const {
    CArray<LocationResource>& resources = location.providedResources;
    uint32_t i = 0;
    while (i < resources.size()) {
        const GResourceConfig* resource = getResourceConfig(resources[i].name);
        if (resource == nullptr) {
            resources.eraseAt(i);
            continue;
        }
        const LocationResource entry = resources[i++];
        forEachVariantSuffix(*resource, [&](const CString& suffix, bool) {
            if (resources.size() >= kMaxLocationResources)
                return false;
            LocationResource variant = entry;
            variant.name = withSuffix(entry.name, suffix);
            resources.append(variant);
            return true;
        });
    }
}
