#include "engine/core/Properties.h"

#include <utility>

#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/PropertyTypeRegistry.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace {

// A copy, as callers may pass a string of the reader's, which changes as it reads on.
CStringW elementNameOr(const CStringW& elementName) {
    return CStringW(elementName.isEmpty() ? u"Properties" : elementName.c_str());
}

// The value of an entry of the type, or the fallback when there is none or it holds another type.
template <typename Typed, typename Value>
Value typedValueOr(const CRefPointer<CPropertyData>& entry, Value fallback) {
    const Typed* typed = castPropertyData<Typed>(entry.get());
    return typed ? typed->getValue() : fallback;
}

} // namespace

CProperties::CProperties(IPropertyContentSource* owner) : m_owner(linkOf(owner)) {}

CProperties::~CProperties() {
    clear();
}

const CString& CProperties::getNameAt(int32_t position) const {
    if (position < 0 || uint32_t(position) >= m_entries.size())
        return CString::emptyString();
    return m_entries[uint32_t(position)].name;
}

CRefPointer<CPropertyData> CProperties::get(const CString& name) const {
    return getValueAt(indexOf(name));
}

int32_t CProperties::indexOf(const CString& name) const {
    const auto found = m_index.find(name);
    return found == m_index.end() ? -1 : found->value;
}

CRefPointer<CPropertyData> CProperties::getValueAt(int32_t position) const {
    if (position < 0 || uint32_t(position) >= m_entries.size())
        return CRefPointer<CPropertyData>();
    return m_entries[uint32_t(position)].value;
}

void CProperties::add(const CString& name, CRefPointer<CPropertyData> value) {
    m_entries.append(Entry{name, std::move(value)});
    const int32_t position = int32_t(m_entries.size() - 1);
    m_index[name] = position;
}

void CProperties::set(const CString& name, CRefPointer<CPropertyData> value) {
    const int32_t position = indexOf(name);
    if (position < 0)
        add(name, std::move(value));
    else
        m_entries[uint32_t(position)].value = std::move(value);
}

void CProperties::setAt(int32_t position, CRefPointer<CPropertyData> value) {
    if (position >= 0 && uint32_t(position) < m_entries.size())
        m_entries[uint32_t(position)].value = std::move(value);
}

void CProperties::clear() {
    m_entries.clear();
    m_index.clear();
}

CRefPointer<CProperties> CProperties::clone() const {
    CRefPointer<CProperties> copy(new CProperties(getOwner()));
    for (const Entry& entry : m_entries)
        copy->m_entries.append(Entry{entry.name, clonePropertyValue(entry.value)});
    copy->m_index = m_index;
    return copy;
}

bool CProperties::readXml(CXmlTextReader* reader, bool checkName, const CStringW& elementName) {
    return readXmlAtDepth(reader, checkName, elementName, 0);
}

void CProperties::readPropertyXml(CXmlTextReader& reader) {
    readPropertyXmlAtDepth(reader, 0);
}

bool CProperties::readXmlAtDepth(CXmlTextReader* reader, bool checkName,
                                 const CStringW& elementName, int32_t depth) {
    if (!reader)
        return false;
    clear();
    const CStringW name = elementNameOr(elementName);
    if (checkName && !(reader->nodeName() == name))
        return false;
    if (reader->isEmptyElement())
        return true;
    bool complete = true;
    while (reader->readNext()) {
        const int32_t kind = reader->nodeKind();
        if (kind == CXmlTextReader::kElement)
            complete = readPropertyXmlAtDepth(*reader, depth) && complete;
        else if (kind == CXmlTextReader::kEndElement && reader->nodeName() == name)
            break;
    }
    return complete;
}

bool CProperties::readPropertyXmlAtDepth(CXmlTextReader& reader, int32_t depth) {
    // Copied: reading the value moves the reader on.
    const CString name(reader.getAttribute(u"Name").c_str());
    CRefPointer<CPropertyData> value =
        CPropertyTypeRegistry::shared()->create(reader.nodeName(), getOwner());
    bool complete = true;
    if (CPropertyDataProperties* nested = castPropertyData<CPropertyDataProperties>(value.get()))
        complete = nested->readXmlAtDepth(reader, depth + 1);
    else if (value)
        value->readXml(reader);
    if (!name.isEmpty())
        add(name, std::move(value));
    return complete;
}

bool CProperties::writeXml(CXmlTextWriter* writer, bool writeHeader, const CStringW& elementName,
                           bool writeElement) const {
    if (!writer)
        return false;
    if (writeHeader)
        writer->writeHeader();
    const CStringW name = elementNameOr(elementName);
    if (writeElement) {
        writer->openElement(name.c_str(), false);
        writer->writeNewLine();
    }
    for (const Entry& entry : m_entries) {
        if (!entry.value)
            continue;
        entry.value->writeXml(*writer, entry.name);
        writer->writeNewLine();
    }
    if (writeElement) {
        writer->closeElement(name.c_str());
        writer->writeNewLine();
    }
    return true;
}

int32_t CProperties::getInt(const CString& name) const {
    return typedValueOr<CPropertyDataInt>(get(name), int32_t(0));
}

bool CProperties::getBool(const CString& name) const {
    return typedValueOr<CPropertyDataBool>(get(name), false);
}

float CProperties::getFloat(const CString& name) const {
    return typedValueOr<CPropertyDataFloat>(get(name), 0.0f);
}

CString CProperties::getString(const CString& name) const {
    return getPropertyText(get(name));
}

CStringW CProperties::getStringW(const CString& name) const {
    return getPropertyTextW(get(name));
}

void CProperties::setInt(const CString& name, int32_t value) {
    set(name, makeIntProperty(value));
}

void CProperties::setBool(const CString& name, bool value) {
    set(name, makeBoolProperty(value));
}

void CProperties::setFloat(const CString& name, float value) {
    set(name, makeFloatProperty(value));
}

void CProperties::setString(const CString& name, const CString& value) {
    set(name, makeStringProperty(value));
}

void CProperties::addInt(const CString& name, int32_t value) {
    add(name, makeIntProperty(value));
}

void CProperties::addBool(const CString& name, bool value) {
    add(name, makeBoolProperty(value));
}

void CProperties::addFloat(const CString& name, float value) {
    add(name, makeFloatProperty(value));
}

void CProperties::addColor(const CString& name, CColor value) {
    add(name, makeColorProperty(value));
}

void CProperties::addVector2d(const CString& name, CVector2d value) {
    add(name, makeVector2dProperty(value));
}

void CProperties::addVector3d(const CString& name, CVector3d value) {
    add(name, makeVector3dProperty(value));
}

void CProperties::addString(const CString& name, const CString& value) {
    add(name, makeStringProperty(value));
}

void CProperties::addStringW(const CString& name, const CStringW& value) {
    add(name, makeStringWProperty(value));
}

void CProperties::addStringArray(const CString& name, const CArray<CStringW>& value) {
    add(name, makeStringArrayProperty(value));
}

void CProperties::addAtlasTexture(const CString& name, IPropertyAtlasTexture* texture) {
    add(name, makeAtlasTextureProperty(texture));
}

void setPropertyStringW(CProperties& properties, const CString& name, const CStringW& value) {
    properties.set(name, makeStringWProperty(value));
}
