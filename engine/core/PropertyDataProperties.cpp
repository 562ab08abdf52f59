#include "engine/core/PropertyDataProperties.h"

#include <utility>

#include "engine/core/Logger.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace {

// Passes over the rest of a nested set without reading it: every "properties" element opened
// inside is closed again before the set's own end tag.
void skipNestedSet(CXmlTextReader& reader) {
    if (reader.isEmptyElement())
        return;
    uint32_t open = 1;
    while (open > 0 && reader.readNext()) {
        const bool named = reader.nodeName() == CPropertyDataProperties::kKeyword;
        if (named && reader.nodeKind() == CXmlTextReader::kElement && !reader.isEmptyElement())
            ++open;
        else if (named && reader.nodeKind() == CXmlTextReader::kEndElement)
            --open;
    }
}

} // namespace

CPropertyDataProperties::CPropertyDataProperties(CRefPointer<CProperties> properties)
    : m_properties(std::move(properties)) {}

void CPropertyDataProperties::setProperties(CRefPointer<CProperties> properties) {
    m_properties = std::move(properties);
}

CRefPointer<CPropertyData> CPropertyDataProperties::clone() const {
    return CRefPointer<CPropertyData>(
        new CPropertyDataProperties(m_properties ? m_properties->clone() : nullptr));
}

CStringW CPropertyDataProperties::toStringW() const {
    return CStringW();
}

CString CPropertyDataProperties::toString() const {
    return CString();
}

void CPropertyDataProperties::fromString(const CString&) {}

void CPropertyDataProperties::fromStringW(const CStringW&) {}

bool CPropertyDataProperties::equals(const CPropertyData* other) const {
    const CPropertyDataProperties* same = sameType(other);
    return same && same->m_properties == m_properties;
}

bool CPropertyDataProperties::interpolate(const CPropertyData*, CPropertyData*, float) const {
    return false;
}

void CPropertyDataProperties::readXml(CXmlTextReader& reader) {
    readXmlAtDepth(reader, 1);
}

void CPropertyDataProperties::writeXml(CXmlTextWriter& writer, const CString& name) const {
    if (!m_properties)
        return;
    const CStringW wideName(name.c_str());
    writer.openElement(kKeyword, false, u"Name", wideName.c_str());
    writer.writeNewLine();
    m_properties->writeXml(&writer, false, kKeyword, false);
    writer.closeElement(kKeyword);
}

bool CPropertyDataProperties::readXmlAtDepth(CXmlTextReader& reader, int32_t depth) {
    if (!m_properties)
        m_properties = CRefPointer<CProperties>(new CProperties(nullptr));
    if (depth > CProperties::kMaxReadDepth) {
        // Hostile input must not run the reader's recursion out of stack.
        CLogger::instance()->logChars("Property sets nested too deeply; the deepest are skipped.",
                                      CLogger::LevelWarning);
        m_properties->clear();
        skipNestedSet(reader);
        return false;
    }
    return m_properties->readXmlAtDepth(&reader, true, kKeyword, depth);
}
