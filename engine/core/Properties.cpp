#include "engine/core/Properties.h"

#include <cstring>
#include <utility>

#include "engine/core/PropertyDataContent.h"
#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/PropertyTypeRegistry.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"

namespace {

const char16_t* const kDefaultElement = u"Properties";

// Names are short: comparing them in place beats a call to memcmp.
int compareBytes(const char* a, const char* b, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

// Whether the wide text narrowed as CString narrows it (to the low byte) gives the name.
bool sameNarrowText(const CString& name, const CStringW& text) {
    if (name.length() != text.length())
        return false;
    for (uint32_t i = 0; i < name.length(); ++i) {
        if (name[i] != char(text[i] & 0xFF))
            return false;
    }
    return true;
}

// A value that nothing but this set holds, of a type that holds only its own number or text:
// reading it again from a file replaces all it holds.
bool isPlainUnsharedValue(const CRefPointer<CPropertyData>& value) {
    if (!value || value->getRefCount() != 1)
        return false;
    switch (value->getTypeId()) {
    case CPropertyDataInt::kTypeId:
    case CPropertyDataBool::kTypeId:
    case CPropertyDataFloat::kTypeId:
    case CPropertyDataColor::kTypeId:
    case CPropertyDataColorf::kTypeId:
    case CPropertyDataVector2d::kTypeId:
    case CPropertyDataVector3d::kTypeId:
    case CPropertyDataRect::kTypeId:
    case CPropertyDataString::kTypeId:
    case CPropertyDataStringW::kTypeId:
        return true;
    default:
        return false;
    }
}

// The value of an entry of the type, or the fallback when there is none or it holds another type.
template <typename Typed, typename Value>
Value typedValueOr(const CRefPointer<CPropertyData>& entry, Value fallback) {
    const Typed* typed = castPropertyData<Typed>(entry.get());
    return typed ? typed->getValue() : fallback;
}

} // namespace

CProperties::CProperties(IPropertyContentSource* owner) : m_owner(linkOf(owner)) {}

CProperties::~CProperties() = default;

const CString& CProperties::getNameAt(int32_t position) const {
    if (position < 0 || uint32_t(position) >= m_entries.size())
        return CString::emptyString();
    return m_entries[uint32_t(position)].name;
}

CRefPointer<CPropertyData> CProperties::get(const CString& name) const {
    return getValueAt(indexOf(name));
}

int32_t CProperties::indexOf(const CString& name) const {
    return indexOf(name.c_str(), name.length());
}

int32_t CProperties::indexOf(const char* name) const {
    return name != nullptr ? indexOf(name, uint32_t(std::strlen(name))) : indexOf("", 0);
}

int32_t CProperties::indexOf(const char* name, uint32_t length) const {
    const uint32_t slot = slotOf(name, length);
    return slotHolds(slot, name, length) ? m_newestByName[slot].position : -1;
}

// Any strict order serves the index; comparing the lengths first mostly spares reading the
// entries' names at all.
int CProperties::compareSlot(const NameSlot& slot, const char* name, uint32_t length) const {
    if (slot.length != length)
        return slot.length < length ? -1 : 1;
    return compareBytes(m_entries[uint32_t(slot.position)].name.c_str(), name, length);
}

// The lower bound: where the name is, or where it would go.
uint32_t CProperties::slotOf(const char* name, uint32_t length) const {
    uint32_t low = 0;
    uint32_t high = m_newestByName.size();
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (compareSlot(m_newestByName[middle], name, length) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Whether the slot found for the name is the name's own rather than where it would go.
bool CProperties::slotHolds(uint32_t slot, const char* name, uint32_t length) const {
    return slot < m_newestByName.size() && compareSlot(m_newestByName[slot], name, length) == 0;
}

CRefPointer<CPropertyData> CProperties::getValueAt(int32_t position) const {
    if (position < 0 || uint32_t(position) >= m_entries.size())
        return CRefPointer<CPropertyData>();
    return m_entries[uint32_t(position)].value;
}

void CProperties::add(CString name, CRefPointer<CPropertyData> value) {
    addEntry(Entry{std::move(name), std::move(value)});
}

void CProperties::addEntry(Entry&& entry) {
    const int32_t position = int32_t(m_entries.size());
    const CString& name = entry.name;
    const uint32_t slot = slotOf(name.c_str(), name.length());
    if (slotHolds(slot, name.c_str(), name.length()))
        m_newestByName[slot].position = position;
    else
        m_newestByName.insert(NameSlot{name.length(), position}, slot);
    m_entries.append(std::move(entry));
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
    if (m_entries.size() == 0)
        return;
    // The emptied entries become the spares; the spares left over from before give their
    // array to the entries to come.
    CArray<Entry> emptied = std::move(m_entries);
    m_entries = std::move(m_spareEntries);
    m_entries.truncate(0);
    for (Entry& entry : emptied) {
        if (!isPlainUnsharedValue(entry.value))
            entry.value = nullptr;
    }
    m_spareEntries = std::move(emptied);
    m_spareEntriesUsed = 0;
    m_newestByName.truncate(0);
}

CRefPointer<CProperties> CProperties::clone() const {
    CRefPointer<CProperties> copy(new CProperties(getOwner()));
    for (const Entry& entry : m_entries)
        copy->m_entries.append(Entry{entry.name, clonePropertyValue(entry.value)});
    copy->m_newestByName = m_newestByName;
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
    if (elementName.isEmpty())
        return readElementXml(*reader, checkName, kDefaultElement, depth);
    // Copied, as callers may pass a string of the reader's, which changes as it reads on.
    const CStringW name(elementName);
    return readElementXml(*reader, checkName, name.c_str(), depth);
}

bool CProperties::readElementXml(CXmlTextReader& reader, bool checkName, const char16_t* name,
                                 int32_t depth) {
    const bool onOwnElement = reader.nodeName() == name;
    if (checkName && !onOwnElement)
        return false;
    if (reader.isEmptyElement())
        return true;
    bool complete = true;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        // Standing on the element around the set (a profile around its "Parameters"), the set's
        // element written as a single tag is the whole set: no end tag of it follows.
        if (kind == CXmlTextReader::kElement && !onOwnElement && reader.isEmptyElement() &&
            reader.nodeName() == name)
            break;
        if (kind == CXmlTextReader::kElement)
            complete = readPropertyXmlAtDepth(reader, depth) && complete;
        else if (kind == CXmlTextReader::kEndElement && reader.nodeName() == name)
            break;
    }
    return complete;
}

bool CProperties::readPropertyXmlAtDepth(CXmlTextReader& reader, int32_t depth) {
    // The name is copied first: reading the value moves the reader on.
    Entry entry = takeSpareEntry(reader.getAttribute(u"Name"));
    const CStringW& keyword = reader.nodeName();
    if (!entry.value || !(entry.value->getTypeKeyword() == keyword))
        entry.value = CPropertyTypeRegistry::shared()->create(keyword, getOwner());
    bool complete = true;
    if (auto* nested = castPropertyData<CPropertyDataProperties>(entry.value.get()))
        complete = nested->readXmlAtDepth(reader, depth + 1);
    else if (entry.value)
        entry.value->readXml(reader);
    if (!entry.name.isEmpty())
        addEntry(std::move(entry));
    return complete;
}

CProperties::Entry CProperties::takeSpareEntry(const CStringW& name) {
    if (m_spareEntriesUsed == m_spareEntries.size())
        return Entry{CString(name.c_str()), nullptr};
    Entry entry = std::move(m_spareEntries[m_spareEntriesUsed++]);
    // Sets read one after the other mostly repeat their names.
    if (!sameNarrowText(entry.name, name))
        entry.name = name.c_str();
    return entry;
}

bool CProperties::writeXml(CXmlTextWriter* writer, bool writeHeader, const CStringW& elementName,
                           bool writeElement) const {
    if (!writer)
        return false;
    if (writeHeader)
        writer->writeHeader();
    const char16_t* name = elementName.isEmpty() ? kDefaultElement : elementName.c_str();
    if (writeElement) {
        writer->openElement(name, false);
        writer->writeNewLine();
    }
    for (const Entry& entry : m_entries) {
        if (!entry.value)
            continue;
        entry.value->writeXml(*writer, entry.name);
        writer->writeNewLine();
    }
    if (writeElement) {
        writer->closeElement(name);
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
