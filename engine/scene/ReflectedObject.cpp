#include "engine/scene/ReflectedObject.h"

const PropertyTable& CReflectedObject::getPropertyTable() const {
    return classPropertyTable();
}

const PropertyTable& CReflectedObject::classPropertyTable() {
    static const PropertyTable table;
    return table;
}

int32_t CReflectedObject::findProperty(const CString& name) const {
    const PropertyTable& table = getPropertyTable();
    for (uint32_t i = 0; i < table.size(); ++i) {
        if (table[i].name == name)
            return int32_t(i);
    }
    return -1;
}

void CReflectedObject::setPropertyByIndex(int32_t index, const CRefPointer<CPropertyData>& value) {
    const PropertyTable& table = getPropertyTable();
    if (index >= 0 && uint32_t(index) < table.size())
        table[uint32_t(index)].setter(*this, value);
}

CRefPointer<CPropertyData> CReflectedObject::getPropertyByIndex(int32_t index) const {
    CRefPointer<CPropertyData> value;
    const PropertyTable& table = getPropertyTable();
    if (index >= 0 && uint32_t(index) < table.size())
        table[uint32_t(index)].getter(value, *this);
    return value;
}

PropertyTable extendPropertyTable(const PropertyTable& parent,
                                  std::initializer_list<PropertyTableEntry> own) {
    PropertyTable table(parent);
    for (const PropertyTableEntry& entry : own)
        table.append(entry);
    return table;
}
