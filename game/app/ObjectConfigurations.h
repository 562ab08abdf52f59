#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "game/app/ClientConfig.h"
#include "game/app/ClientWishList.h"
#include "game/app/LocationConfig.h"
#include "game/app/ResourceConfig.h"
#include "game/app/StaffConfig.h"

class CXmlTextReader;
class IVirtualFileSystem;

// The registry of the game's object configuration: one record per location type, resource,
// client type, wish list and staff type, found by name. Lookups lend the record: a caller that
// keeps one adds its own reference.
class ObjectConfigurations : public CRefCounted {
public:
    // Each count of variants to derive is cut to this, so a resource makes at most its square.
    static constexpr int32_t kMaxModificationCount = 16;
    // What one derivation may copy: a variant counts one, and one more for each entry of its
    // lists.
    static constexpr uint32_t kMaxDerivedSize = 262144;
    // A location's resources are not expanded past this many entries.
    static constexpr uint32_t kMaxLocationResources = 1024;

    ObjectConfigurations() = default;

    // Reads the five files of "levels/common" in order, deriving the resource variants after
    // the resources and resolving the locations' resources after the locations. A file that
    // does not open is passed over; the names of those are the answer, for the caller to tell.
    CArray<CStringW> loadFiles(IVirtualFileSystem& fileSystem);
    // Reads the records of one document; of two records with one name the first read stays.
    void load(CXmlTextReader& reader);
    void clear();

    // Adds the variants named by the resources' counts: R1 .. Rn for one count n, R11 .. Rnm
    // for the counts n and m. Names already present keep their records.
    void deriveModifiedResources();
    // Drops the locations' resources that have no configuration and adds, after each resource
    // with variants, an entry per variant with the same amounts.
    void resolveLocationResources();

    GLocationConfig* getLocationConfig(CNameId name) const { return find(m_locations, name); }
    GResourceConfig* getResourceConfig(CNameId name) const { return find(m_resources, name); }
    GClientConfig* getClientConfig(CNameId name) const { return find(m_clients, name); }
    GClientWishList* getWishList(CNameId name) const { return find(m_wishLists, name); }
    GStaffConfig* getStaffConfig(CNameId name) const { return find(m_staff, name); }

    const CMap<CNameId, CRefPointer<GLocationConfig>>& getLocations() const { return m_locations; }
    const CMap<CNameId, CRefPointer<GResourceConfig>>& getResources() const { return m_resources; }

protected:
    ~ObjectConfigurations() override = default;

private:
    template <typename Record>
    static Record* find(const CMap<CNameId, CRefPointer<Record>>& records, CNameId name) {
        const auto found = records.find(name);
        return found != records.end() ? found->value.get() : nullptr;
    }

    template <typename Record>
    static void readRecord(CXmlTextReader& reader, CMap<CNameId, CRefPointer<Record>>& records);
    void readWishList(CXmlTextReader& reader);
    void deriveVariants(const GResourceConfig& resource, uint32_t& budget);
    void expandLocationResources(GLocationConfig& location) const;

    CMap<CNameId, CRefPointer<GLocationConfig>> m_locations;
    CMap<CNameId, CRefPointer<GResourceConfig>> m_resources;
    CMap<CNameId, CRefPointer<GClientConfig>> m_clients;
    CMap<CNameId, CRefPointer<GClientWishList>> m_wishLists;
    CMap<CNameId, CRefPointer<GStaffConfig>> m_staff;
};
