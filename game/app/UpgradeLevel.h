#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"

class CXmlTextReader;

// One upgrade on offer: what a slot (a location, a staff member, a part of the environment)
// becomes while it is the slot's current upgrade.
struct GUpgradeItem {
    // The index of the "Level" that offers it.
    int32_t level = -1;
    // Its place in its slot, from 1, or from 0 when the slot's first upgrade has no type.
    int32_t position = 0;
    int32_t price = 0;
    // The prices of the slot's upgrades up to and including this one.
    int32_t cumulativePrice = 0;
    // A location's template and configuration, a staff configuration or an environment state.
    CNameId type;
    // The slot.
    CNameId name;
    bool required = false;
    int32_t recommendedLevel = 1000000;
};

// The upgrades that one level of a setting brings, in three groups.
struct GUpgradeLevel {
    enum Group : uint32_t { kLocations, kStaff, kEnv, kGroupCount };

    // Reads the "Level" element the reader stands on, up to its end tag.
    void load(CXmlTextReader& reader);

    int32_t index = 0;
    CArray<GUpgradeItem> groups[kGroupCount];

private:
    // Empties the group, then appends one upgrade per "U" up to the group's end tag.
    static void loadGroup(CXmlTextReader& reader, CArray<GUpgradeItem>& items,
                          const char16_t* endName);
};

// The element names of the groups, in Group order.
const char16_t* getUpgradeGroupName(GUpgradeLevel::Group group);
