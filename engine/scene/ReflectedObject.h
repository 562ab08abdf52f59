#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/core/Array.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class CReflectedObject;

// Converts the value (any type, or none) and stores it in the object.
using PropertySetter = void (*)(CReflectedObject& object, const CRefPointer<CPropertyData>& value);
// A new value holding the object's current one.
using PropertyGetter = void (*)(CRefPointer<CPropertyData>& out, const CReflectedObject& object);

struct PropertyTableEntry {
    CString name;
    PropertySetter setter;
    PropertyGetter getter;
};

// A class's properties: its parent's entries first, then its own.
using PropertyTable = CArray<PropertyTableEntry>;

// An object whose properties can be read and written by name: nodes, states and actions.
// Every class keeps one table, built on first use and never changed afterwards.
class CReflectedObject {
public:
    virtual ~CReflectedObject() = default;

    virtual const PropertyTable& getPropertyTable() const;
    // The root's table: empty.
    static const PropertyTable& classPropertyTable();

    // The first entry whose name is exactly this text; -1 when there is none.
    int32_t findProperty(const CString& name) const;
    // Out-of-range indexes do nothing (set) or give none (get).
    void setPropertyByIndex(int32_t index, const CRefPointer<CPropertyData>& value);
    CRefPointer<CPropertyData> getPropertyByIndex(int32_t index) const;
};

// A copy of the parent's table followed by the class's own entries.
PropertyTable extendPropertyTable(const PropertyTable& parent,
                                  std::initializer_list<PropertyTableEntry> own);
