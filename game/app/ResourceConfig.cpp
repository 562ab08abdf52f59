#include "game/app/ResourceConfig.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

using Field = GConfigField<GResourceConfig>;

// Counts below 2 derive nothing and are dropped.
CArray<int32_t> readModificationCounts(const CXmlTextReader& reader) {
    CArray<int32_t> counts;
    for (const int32_t count : readIntListAttribute(reader, kValueAttribute)) {
        if (count >= 2)
            counts.append(count);
    }
    return counts;
}

} // namespace

void GResourceConfig::load(CXmlTextReader& reader) {
    static const Field fields[] = {
        {u"Name", [](auto& c, auto& r) { c.name = readNameValue(r); }},
        {u"WaveIndex", [](auto& c, auto& r) { c.waveIndex = readIntValue(r); }},
        {u"IconName",
         [](auto& c, auto& r) { c.iconName = readNarrowAttribute(r, kValueAttribute); }},
        {u"ActionAnimationName",
         [](auto& c, auto& r) { c.actionAnimationName = readNameValue(r); }},
        {u"ActionAnimationTime", [](auto& c, auto& r) { c.actionAnimationTime = readIntValue(r); }},
        {u"WaitAnimationName", [](auto& c, auto& r) { c.waitAnimationName = readNameValue(r); }},
        {u"ActionCue", [](auto& c, auto& r) { c.actionCue = readNameValue(r); }},
        {u"ItemType", [](auto& c, auto& r) { c.itemType = readIntValue(r); }},
        {u"ClientBoostType", [](auto& c, auto& r) { c.clientBoostType = readIntValue(r); }},
        {u"MiniGameProbability",
         [](auto& c, auto& r) { c.miniGameProbability = readFloatValue(r); }},
        {u"MiniGameHeartsBoost",
         [](auto& c, auto& r) { c.miniGameHeartsBoost = readFloatValue(r); }},
        {u"MiniGameHeartsBoostFail",
         [](auto& c, auto& r) { c.miniGameHeartsBoostFail = readFloatValue(r); }},
        {u"MiniGameServedByStaffTime",
         [](auto& c, auto& r) { c.miniGameServedByStaffTime = readIntValue(r); }},
        {u"SpecificResources",
         [](auto& c, auto& r) { c.specificResources = readNameListAttribute(r, kValueAttribute); }},
        {u"MoneyBoost", [](auto& c, auto& r) { c.moneyBoost = readFloatValue(r); }},
        {u"HeartsBoost", [](auto& c, auto& r) { c.heartsBoost = readFloatValue(r); }},
        {u"ServingSpeedBoost",
         [](auto& c, auto& r) { c.servingSpeedBoost = readFloatValue(r, 1); }},
        {u"RecycleMoneyPenalty",
         [](auto& c, auto& r) { c.recycleMoneyPenalty = readFloatValue(r); }},
        {u"ConvertsFrom", [](auto& c, auto& r) { c.convertsFrom = readNameValue(r); }},
        {u"AdditionalItems", [](auto& c, auto& r) { c.loadAdditionalItems(r); }},
        {u"ChainType", [](auto& c, auto& r) { c.chainType = readNameValue(r); }},
        {u"UnmodifiedResource", [](auto& c, auto& r) { c.unmodifiedResource = readNameValue(r); }},
        {u"ModificationsCount",
         [](auto& c, auto& r) { c.modificationsCount = readModificationCounts(r); }},
    };
    readConfigFields(reader, u"Resource", *this, fields);
    if (waitAnimationName == CNameId())
        waitAnimationName = actionAnimationName;
}

CRefPointer<GResourceConfig> GResourceConfig::clone() const {
    CRefPointer<GResourceConfig> copy(new GResourceConfig(*this));
    copy->modificationsCount.clear();
    return copy;
}

void GResourceConfig::loadAdditionalItems(CXmlTextReader& reader) {
    readElementsUntilEnd(reader, u"AdditionalItems", [&] {
        if (reader.nodeName() != u"Item")
            return;
        GAdditionalItem item;
        item.name = readNameAttribute(reader, u"Name");
        item.timeRange = readTimeRangeAttribute(reader, u"TimeRange");
        item.probability = reader.getAttributeFloat(u"Probability", 1.0f);
        additionalItems.append(item);
    });
}

bool isSpecialItemType(int32_t itemType) {
    return itemType == 1 || itemType == 3 || itemType == 4 || itemType == 5;
}
