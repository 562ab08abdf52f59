#include "engine/core/PropertyDataStrings.h"

#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace {

// Texts jump to the end value once t reaches 1; before that out keeps what it holds.
template <typename Value>
bool copyAtEnd(const Value& end, Value& out, float t) {
    if (!(t >= 1.0f))
        return false;
    out = end;
    return true;
}

} // namespace

// ---- string

CStringW CPropertyDataString::toStringW() const {
    return CStringW(m_value.c_str());
}

CString CPropertyDataString::toString() const {
    return m_value;
}

void CPropertyDataString::fromString(const CString& text) {
    m_value = text;
}

void CPropertyDataString::fromStringW(const CStringW& text) {
    m_value = text.c_str();
}

bool CPropertyDataString::equals(const CPropertyData* other) const {
    const CPropertyDataString* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataString::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataString* end = sameType(to);
    CPropertyDataString* result = sameType(out);
    return end && result && copyAtEnd(end->m_value, result->m_value, t);
}

// ---- stringw

CStringW CPropertyDataStringW::toStringW() const {
    return m_value;
}

CString CPropertyDataStringW::toString() const {
    return CString(m_value.c_str());
}

void CPropertyDataStringW::fromString(const CString& text) {
    m_value = text.c_str();
}

void CPropertyDataStringW::fromStringW(const CStringW& text) {
    m_value = text;
}

bool CPropertyDataStringW::equals(const CPropertyData* other) const {
    const CPropertyDataStringW* same = sameType(other);
    return same && same->m_value == m_value;
}

bool CPropertyDataStringW::interpolate(const CPropertyData* to, CPropertyData* out, float t) const {
    const CPropertyDataStringW* end = sameType(to);
    CPropertyDataStringW* result = sameType(out);
    return end && result && copyAtEnd(end->m_value, result->m_value, t);
}

// ---- stringwArray

CStringW CPropertyDataStringWArray::toStringW() const {
    return CStringW();
}

CString CPropertyDataStringWArray::toString() const {
    return CString();
}

void CPropertyDataStringWArray::fromString(const CString&) {}

void CPropertyDataStringWArray::fromStringW(const CStringW&) {}

bool CPropertyDataStringWArray::equals(const CPropertyData* other) const {
    const CPropertyDataStringWArray* same = sameType(other);
    if (!same || same->m_value.size() != m_value.size())
        return false;
    for (uint32_t i = 0; i < m_value.size(); ++i) {
        if (!(same->m_value[i] == m_value[i]))
            return false;
    }
    return true;
}

bool CPropertyDataStringWArray::interpolate(const CPropertyData* to, CPropertyData* out,
                                            float t) const {
    const CPropertyDataStringWArray* end = sameType(to);
    CPropertyDataStringWArray* result = sameType(out);
    return end && result && copyAtEnd(end->m_value, result->m_value, t);
}

void CPropertyDataStringWArray::readXml(CXmlTextReader& reader) {
    m_value.clear();
    if (reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kElement && reader.nodeName() == CPropertyDataStringW::kKeyword)
            m_value.append(reader.attributeValue(0));
        else if (kind == CXmlTextReader::kEndElement && reader.nodeName() == kKeyword)
            return;
    }
}

void CPropertyDataStringWArray::writeXml(CXmlTextWriter& writer, const CString& name) const {
    const CStringW wideName(name.c_str());
    writer.openElement(kKeyword, false, u"Name", wideName.c_str());
    writer.writeNewLine();
    for (const CStringW& text : m_value) {
        writer.openElement(CPropertyDataStringW::kKeyword, true, u"Value", text.c_str());
        writer.writeNewLine();
    }
    writer.closeElement(kKeyword);
}

// ---- factories

CRefPointer<CPropertyDataString> makeStringProperty(const CString& value) {
    return CRefPointer<CPropertyDataString>(new CPropertyDataString(value));
}

CRefPointer<CPropertyDataString> makeNameProperty(CNameId name) {
    return makeStringProperty(name.toString());
}

CRefPointer<CPropertyDataStringW> makeStringWProperty(const CStringW& value) {
    return CRefPointer<CPropertyDataStringW>(new CPropertyDataStringW(value));
}

CRefPointer<CPropertyDataStringWArray> makeStringArrayProperty(const CArray<CStringW>& value) {
    return CRefPointer<CPropertyDataStringWArray>(new CPropertyDataStringWArray(value));
}

CArray<CStringW> getPropertyStringArray(const CRefPointer<CPropertyData>& value) {
    const CPropertyDataStringWArray* array =
        castPropertyData<CPropertyDataStringWArray>(value.get());
    return array ? array->getValue() : CArray<CStringW>();
}
