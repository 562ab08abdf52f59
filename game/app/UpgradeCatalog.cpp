#include "game/app/UpgradeCatalog.h"

#include <climits>

#include "engine/core/Properties.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

int32_t saturatedSum(int64_t sum) {
    return sum > INT_MAX ? INT_MAX : (sum < INT_MIN ? INT_MIN : int32_t(sum));
}

} // namespace

bool UpgradeCatalog::loadFile(IVirtualFileSystem& fileSystem, int32_t settingIndex,
                              const CProperties& profile) {
    CStringW name(u"levels/setting");
    name.append(settingIndex);
    name.append(profile.getInt("PlayerDifficulty") != 0 ? u"/UpgradesEasy.xml" : u"/Upgrades.xml");
    const CRefPointer<CXmlTextReader> reader = fileSystem.openXmlReader(name);
    if (!reader)
        return false;
    load(*reader);
    return true;
}

void UpgradeCatalog::load(CXmlTextReader& reader) {
    m_slots.clear();
    m_levels.clear();
    while (reader.readNext()) {
        if (isEndElement(reader, u"Upgrades"))
            return;
        if (!isElement(reader, u"Level"))
            continue;
        GUpgradeLevel level;
        level.load(reader);
        m_levels.append(std::move(level));
    }
}

void UpgradeCatalog::applyLevel(int32_t level, const CString& prefix, const CProperties* profile) {
    m_slots.clear();
    for (uint32_t i = 0; i < m_levels.size(); ++i) {
        for (uint32_t group = 0; group < GUpgradeLevel::kGroupCount; ++group)
            addToSlots(i, GUpgradeLevel::Group(group));
    }
    numberSlots();
    for (uint32_t group = 0; group < GUpgradeLevel::kGroupCount && profile != nullptr; ++group) {
        const CString key = prefix + CString(getUpgradeGroupName(GUpgradeLevel::Group(group)));
        applyBoughtPairs(profile->getString(key));
    }
    advanceFreeUpgrades(level);
}

void UpgradeCatalog::setCurrentByName(CNameId slot, CNameId type) {
    static const CNameId none(CString("None"));
    const CNameId wanted = type == none ? CNameId() : type;
    GUpgradeSlot& entry = m_slots[slot];
    for (uint32_t i = 0; i < entry.items.size(); ++i) {
        if (item(entry.items[i]).type == wanted) {
            entry.currentIndex = int32_t(i);
            return;
        }
    }
}

bool UpgradeCatalog::getCurrentAndNext(CNameId slot, const GUpgradeItem*& current,
                                       const GUpgradeItem*& next) const {
    current = nullptr;
    next = nullptr;
    const auto found = m_slots.find(slot);
    if (found == m_slots.end())
        return false;
    const GUpgradeSlot& entry = found->value;
    const uint32_t index = uint32_t(entry.currentIndex);
    if (index >= entry.items.size())
        return false;
    current = &item(entry.items[index]);
    if (index + 1 < entry.items.size())
        next = &item(entry.items[index + 1]);
    return true;
}

bool UpgradeCatalog::hasNextUpToLevel(int32_t level) const {
    for (const auto& slot : m_slots) {
        const CArray<GUpgradeItemRef>& items = slot.value.items;
        for (uint32_t i = uint32_t(slot.value.currentIndex) + 1; i < items.size(); ++i) {
            if (item(items[i]).level <= level)
                return true;
        }
    }
    return false;
}

int32_t UpgradeCatalog::sumOfCurrent() const {
    int64_t sum = 0;
    for (const auto& slot : m_slots) {
        const uint32_t index = uint32_t(slot.value.currentIndex);
        if (index < slot.value.items.size())
            sum += item(slot.value.items[index]).cumulativePrice;
    }
    return saturatedSum(sum);
}

void UpgradeCatalog::addToSlots(uint32_t level, GUpgradeLevel::Group group) {
    CArray<GUpgradeItem>& items = m_levels[level].groups[group];
    for (uint32_t i = 0; i < items.size(); ++i) {
        GUpgradeSlot& slot = m_slots[items[i].name];
        const int32_t before =
            slot.items.size() > 0 ? item(slot.items[slot.items.size() - 1]).cumulativePrice : 0;
        items[i].cumulativePrice = saturatedSum(int64_t(items[i].price) + before);
        slot.items.append({level, group, i});
    }
}

void UpgradeCatalog::numberSlots() {
    for (auto& slot : m_slots) {
        const CArray<GUpgradeItemRef>& items = slot.value.items;
        const int32_t first = item(items[0]).type != CNameId() ? 1 : 0;
        for (uint32_t i = 0; i < items.size(); ++i)
            item(items[i]).position = int32_t(i) + first;
    }
}

// Pairs of a slot and the type of its bought upgrade; a last name without a partner is ignored.
void UpgradeCatalog::applyBoughtPairs(const CString& text) {
    const CArray<CNameId> names = splitNameIds(text.c_str(), true);
    for (uint32_t i = 0; i + 1 < names.size(); i += 2)
        setCurrentByName(names[i], names[i + 1]);
}

// Free upgrades become current by themselves once their level is reached.
void UpgradeCatalog::advanceFreeUpgrades(int32_t level) {
    for (auto& slot : m_slots) {
        GUpgradeSlot& entry = slot.value;
        while (uint32_t(entry.currentIndex) + 1 < entry.items.size()) {
            const GUpgradeItem& next = item(entry.items[uint32_t(entry.currentIndex) + 1]);
            if (next.price != 0 || next.level > level)
                break;
            ++entry.currentIndex;
        }
    }
}
