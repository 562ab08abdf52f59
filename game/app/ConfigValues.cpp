#include "game/app/ConfigValues.h"

#include "engine/core/StringFunctions.h"

CNameId readNameAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return CNameId(readNarrowAttribute(reader, name));
}

CString readNarrowAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return CString(reader.getAttribute(name).c_str());
}

CArray<CNameId> readNameListAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return splitNameIds(readNarrowAttribute(reader, name).c_str(), true);
}

CArray<int32_t> readIntListAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return parseIntList(reader.getAttribute(name).c_str());
}

GTimeRange readTimeRangeAttribute(const CXmlTextReader& reader, const char16_t* name) {
    const CArray<int32_t> numbers = readIntListAttribute(reader, name);
    GTimeRange range;
    if (numbers.size() > 0)
        range.from = numbers[0];
    if (numbers.size() > 1)
        range.to = numbers[1];
    return range;
}

bool readFlagAttribute(const CXmlTextReader& reader, const char16_t* name) {
    return reader.getAttribute(name) == u"1";
}
