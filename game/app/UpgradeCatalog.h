#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/String.h"
#include "game/app/UpgradeLevel.h"

class CProperties;
class CXmlTextReader;
class IVirtualFileSystem;

// Where an upgrade lies in the catalogue's levels.
struct GUpgradeItemRef {
    uint32_t level;
    GUpgradeLevel::Group group;
    uint32_t index;
};

// The upgrades of one upgradable object, in the order added, and which one is current.
struct GUpgradeSlot {
    int32_t currentIndex = 0;
    CArray<GUpgradeItemRef> items;
};

// The upgrades of one level setting, grouped by the object they upgrade (the slot), with the
// player's bought state applied. Slots refer to upgrades by position in the levels, and are
// emptied whenever the levels are read, so no slot can outlive the upgrades it names.
class UpgradeCatalog : public CRefCounted {
public:
    UpgradeCatalog() = default;

    // Reads "levels/setting" + index + "/UpgradesEasy.xml" when the profile's
    // "PlayerDifficulty" is not 0, else ".../Upgrades.xml"; false when the file does not open.
    bool loadFile(IVirtualFileSystem& fileSystem, int32_t settingIndex, const CProperties& profile);
    // Replaces the levels by those of the document and empties the slots.
    void load(CXmlTextReader& reader);
    // Rebuilds the slots from every level, restores the bought state stored in the profile
    // under prefix + "Locations", "Staff" and "Env", then makes current the free upgrades that
    // follow a slot's current one up to the given level. Without a profile nothing is bought.
    void applyLevel(int32_t level, const CString& prefix, const CProperties* profile);

    // Makes current the slot's first upgrade of that type; the type "None" is the upgrade
    // without a type. A slot not known yet is created empty (and stays so until the next
    // applyLevel); nothing changes when no upgrade has that type.
    void setCurrentByName(CNameId slot, CNameId type);
    // The slot's current upgrade and the one after it (none at the end); false, with both
    // none, when the slot does not exist or has no current upgrade. The upgrades stay valid
    // until the next load.
    bool getCurrentAndNext(CNameId slot, const GUpgradeItem*& current,
                           const GUpgradeItem*& next) const;
    // True when a slot offers an upgrade after its current one of the given level or earlier.
    bool hasNextUpToLevel(int32_t level) const;
    // The cumulative prices of the slots' current upgrades, added up.
    int32_t sumOfCurrent() const;

    const CArray<GUpgradeLevel>& getLevels() const { return m_levels; }
    const CMap<CNameId, GUpgradeSlot>& getSlots() const { return m_slots; }

protected:
    ~UpgradeCatalog() override = default;

private:
    GUpgradeItem& item(const GUpgradeItemRef& ref) {
        return m_levels[ref.level].groups[ref.group][ref.index];
    }
    const GUpgradeItem& item(const GUpgradeItemRef& ref) const {
        return m_levels[ref.level].groups[ref.group][ref.index];
    }
    void addToSlots(uint32_t level, GUpgradeLevel::Group group);
    void numberSlots();
    void applyBoughtPairs(const CString& text);
    void advanceFreeUpgrades(int32_t level);

    CArray<GUpgradeLevel> m_levels;
    CMap<CNameId, GUpgradeSlot> m_slots;
};
