#include "game/app/UpgradeLevel.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

constexpr const char16_t* kGroupNames[] = {u"Locations", u"Staff", u"Env"};

} // namespace

void GUpgradeLevel::load(CXmlTextReader& reader) {
    index = reader.getAttributeInt(u"Index", 0);
    readElementsUntilEnd(reader, u"Level", [&] {
        for (uint32_t group = 0; group < kGroupCount; ++group) {
            if (reader.nodeName() == kGroupNames[group]) {
                loadGroup(reader, groups[group], kGroupNames[group]);
                return;
            }
        }
    });
    for (CArray<GUpgradeItem>& items : groups) {
        for (GUpgradeItem& item : items)
            item.level = index;
    }
}

void GUpgradeLevel::loadGroup(CXmlTextReader& reader, CArray<GUpgradeItem>& items,
                              const char16_t* endName) {
    items.clear();
    readElementsUntilEnd(reader, endName, [&] {
        if (reader.nodeName() != u"U")
            return;
        GUpgradeItem item;
        item.price = reader.getAttributeInt(u"Price", 0);
        item.type = readNameAttribute(reader, u"Type");
        item.name = readNameAttribute(reader, u"Name");
        item.required = readFlagAttribute(reader, u"Required");
        item.recommendedLevel = reader.getAttributeInt(u"RecommendedLevel", 1000000);
        items.append(item);
    });
}

const char16_t* getUpgradeGroupName(GUpgradeLevel::Group group) {
    return kGroupNames[group];
}
