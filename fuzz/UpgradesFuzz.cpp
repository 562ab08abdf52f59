// Reads an arbitrary document as an upgrade catalogue, applies a bought state made of the
// document's own names, asks for every slot, then reads the document again and asks once more
// before applying, when no slot may be left.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/io/XmlTextReader.h"
#include "fuzz/ConfigFuzzTarget.h"
#include "game/app/UpgradeCatalog.h"

namespace {

// The first upgrades of every level and group, at most this many.
constexpr uint32_t kVisited = 256;

CArray<GUpgradeItem> firstItems(const UpgradeCatalog& catalog) {
    CArray<GUpgradeItem> items;
    for (const GUpgradeLevel& level : catalog.getLevels()) {
        for (const CArray<GUpgradeItem>& group : level.groups) {
            for (uint32_t i = 0; i < group.size() && items.size() < kVisited; ++i)
                items.append(group[i]);
        }
    }
    return items;
}

// The slots of those upgrades: current, next and a switch to each upgrade's type.
uint32_t visitSlots(UpgradeCatalog& catalog) {
    uint32_t checksum = uint32_t(catalog.sumOfCurrent());
    checksum += catalog.hasNextUpToLevel(3) ? 1 : 0;
    for (const GUpgradeItem& item : firstItems(catalog)) {
        const GUpgradeItem* current = nullptr;
        const GUpgradeItem* next = nullptr;
        if (catalog.getCurrentAndNext(item.name, current, next))
            checksum += uint32_t(current->cumulativePrice) + (next ? next->price : 0);
        catalog.setCurrentByName(item.name, item.type);
    }
    return checksum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CRefPointer<CMemoryBlockFile> file = openConfigDocument(data, size);
    if (!file)
        return 0;
    CRefPointer<UpgradeCatalog> catalog(new UpgradeCatalog);
    catalog->load(*readConfigDocument(*file));

    std::string bought;
    for (const GUpgradeItem& item : firstItems(*catalog))
        bought = bought + item.name.toString().c_str() + ";" + item.type.toString().c_str() + ";";
    CRefPointer<CProperties> profile(new CProperties);
    profile->setString("Level1Locations", CString(bought.c_str()));
    profile->setString("Level1Env", CString("a;None;b"));
    catalog->applyLevel(2, CString("Level1"), profile.get());
    uint32_t checksum = visitSlots(*catalog);

    catalog->load(*readConfigDocument(*file));
    checksum += visitSlots(*catalog);
    volatile uint32_t sink = checksum;
    (void)sink;
    return 0;
}
