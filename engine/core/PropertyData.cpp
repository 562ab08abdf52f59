#include "engine/core/PropertyData.h"

#include "engine/core/PropertyDataStrings.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

bool CPropertyData::isKindOf(int32_t typeId) const {
    return typeId == getTypeId() || typeId == 0;
}

void CPropertyData::prepareInterpolation(const CPropertyData*) {}

void CPropertyData::readXml(CXmlTextReader& reader) {
    fromStringW(reader.getAttribute(u"Value"));
}

void CPropertyData::writeXml(CXmlTextWriter& writer, const CString& name) const {
    const CStringW wideName(name.c_str());
    const CStringW value = toStringW();
    writer.openElement(getTypeKeyword().c_str(), true, u"Name", wideName.c_str(), u"Value",
                       value.c_str());
}

CString getPropertyText(const CRefPointer<CPropertyData>& value) {
    return value ? value->toString() : CString();
}

CStringW getPropertyTextW(const CRefPointer<CPropertyData>& value) {
    return value ? value->toStringW() : CStringW();
}

void copyPropertyTextW(CStringW& out, const CRefPointer<CPropertyData>& value) {
    out = getPropertyTextW(value);
}

CNameId getPropertyNameId(const CPropertyData* value) {
    // Names are mostly strings already: their text is interned without a copy.
    if (const auto* text = castPropertyData<CPropertyDataString>(value))
        return CNameId(text->getValue());
    return value ? CNameId(value->toString()) : CNameId();
}
