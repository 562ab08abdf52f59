#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/AdditionalItem.h"

// Readers of the values of the game's configuration files. Each reads an attribute of the
// element the reader stands on; a missing attribute reads as the empty text.

// The attribute that holds a field's value in the object and level files.
inline constexpr const char16_t* kValueAttribute = u"Value";

// The text narrowed to 8 bits and interned; the empty text gives the empty name.
CNameId readNameAttribute(const CXmlTextReader& reader, const char16_t* name);
CString readNarrowAttribute(const CXmlTextReader& reader, const char16_t* name);
// Cut at ';', each piece trimmed; empty pieces are left out.
CArray<CNameId> readNameListAttribute(const CXmlTextReader& reader, const char16_t* name);
// Every number of the text, truncated toward zero and clamped to the int range.
CArray<int32_t> readIntListAttribute(const CXmlTextReader& reader, const char16_t* name);
// The first two numbers of the text; missing ones are 0.
GTimeRange readTimeRangeAttribute(const CXmlTextReader& reader, const char16_t* name);
// True only for the text "1".
bool readFlagAttribute(const CXmlTextReader& reader, const char16_t* name);

// The value of a field element; withoutValue when the element has no "Value".
inline CNameId readNameValue(const CXmlTextReader& reader) {
    return readNameAttribute(reader, kValueAttribute);
}
inline float readFloatValue(const CXmlTextReader& reader, float withoutValue = 0) {
    return reader.getAttributeFloat(kValueAttribute, withoutValue);
}
// Read as a float, truncated toward zero and saturated to the int range.
inline int32_t readIntValue(const CXmlTextReader& reader, int32_t withoutValue = 0) {
    return reader.getAttributeInt(kValueAttribute, withoutValue);
}
inline CVector2d readPointValue(const CXmlTextReader& reader) {
    return CVector2d::fromText(reader.getAttribute(kValueAttribute).c_str());
}

inline bool isElement(const CXmlTextReader& reader, const char16_t* name) {
    return reader.nodeKind() == CXmlTextReader::kElement && reader.nodeName() == name;
}

inline bool isEndElement(const CXmlTextReader& reader, const char16_t* name) {
    return reader.nodeKind() == CXmlTextReader::kEndElement && reader.nodeName() == name;
}

// Calls visit() on every element after the one the reader stands on, up to the first end tag
// named endName. An element written as a single tag has nothing inside, so nothing is read:
// reading on would take the elements that follow it for its content.
template <typename Visit>
void readElementsUntilEnd(CXmlTextReader& reader, const char16_t* endName, Visit visit) {
    if (reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kElement)
            visit();
        else if (isEndElement(reader, endName))
            return;
    }
}

// One field of a record: the element that holds it and how its value is read.
template <typename Record>
struct GConfigField {
    const char16_t* element;
    void (*read)(Record& record, CXmlTextReader& reader);
};

// Reads the field that the element the reader stands on holds; false when it names none.
template <typename Record, uint32_t Count>
bool readConfigField(CXmlTextReader& reader, Record& record,
                     const GConfigField<Record> (&fields)[Count]) {
    for (const GConfigField<Record>& field : fields) {
        if (reader.nodeName() == field.element) {
            field.read(record, reader);
            return true;
        }
    }
    return false;
}

// Reads the fields of the record whose element the reader stands on, up to its end tag;
// elements that name no field are passed over.
template <typename Record, uint32_t Count>
void readConfigFields(CXmlTextReader& reader, const char16_t* endName, Record& record,
                      const GConfigField<Record> (&fields)[Count]) {
    readElementsUntilEnd(reader, endName, [&] { readConfigField(reader, record, fields); });
}
