#include "game/level/SavedLevelValues.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/StringFunctions.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "game/app/ConfigValues.h"

namespace {

const CNameId& noneName() {
    static const CNameId none = nameOf("None");
    return none;
}

} // namespace

CStringW savedNameText(CNameId name) {
    return CStringW(name.toString().c_str());
}

void writeSavedText(CXmlTextWriter& writer, const char16_t* element, const CStringW& value) {
    writer.openElement(element, true, kValueAttribute, value.c_str());
    writer.writeNewLine();
}

void writeSavedInt(CXmlTextWriter& writer, const char16_t* element, int32_t value) {
    writeSavedText(writer, element, CStringW(value));
}

void writeSavedFloat(CXmlTextWriter& writer, const char16_t* element, float value) {
    writeSavedText(writer, element, CStringW(value));
}

void writeSavedName(CXmlTextWriter& writer, const char16_t* element, CNameId value) {
    writeSavedText(writer, element, savedNameText(value));
}

int32_t readSavedInt(const CXmlTextReader& reader, const char16_t* attribute, int32_t low,
                     int32_t high) {
    return std::clamp(reader.getAttributeInt(attribute, 0), low, high);
}

int32_t readSavedCount(const CXmlTextReader& reader) {
    return readSavedInt(reader, kValueAttribute, 0, kMaxSavedCount);
}

float readSavedFloat(const CXmlTextReader& reader, float low, float high, float fallback) {
    const float value = readFloatValue(reader);
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

CArray<CNameId> readSavedNameList(const CXmlTextReader& reader, const char16_t* attribute) {
    const CString text = readNarrowAttribute(reader, attribute);
    if (text.isEmpty())
        return CArray<CNameId>();
    CArray<CNameId> names = splitNameIds(text.c_str(), false);
    for (CNameId& name : names) {
        if (name == noneName())
            name = CNameId();
    }
    return names;
}

bool isSavedIndexIn(int32_t value, int32_t count, const char16_t* what) {
    if (value >= 0 && value < count)
        return true;
    CStringW line(u"Saved level: ");
    line.append(what).append(u" ").append(value).append(u" is not known; it is left as it was");
    CLogger::instance()->log(line, CLogger::LevelWarning);
    return false;
}

void skipSavedElement(CXmlTextReader& reader) {
    if (reader.isEmptyElement())
        return;
    for (int32_t depth = 1; reader.readNext();) {
        if (reader.nodeKind() == CXmlTextReader::kElement && !reader.isEmptyElement())
            ++depth;
        else if (reader.nodeKind() == CXmlTextReader::kEndElement && --depth == 0)
            return;
    }
}
