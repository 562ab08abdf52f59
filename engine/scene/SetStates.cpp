#include "engine/scene/SetStates.h"

#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"

SetStates::SetStates() {
    setInterval(1);
}

void SetStates::apply(int32_t, bool applyValues) {
    BaseNode* target = getTarget();
    if (!applyValues || target == nullptr)
        return;
    // Entering states may change the target, so it is held until the entries are done.
    const CRefPointer<BaseNode> held = CRefPointer<BaseNode>::share(target);
    for (uint32_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.stateName == CNameId())
            continue;
        if (entry.children.size() == 0) {
            target->setChildrenState(entry.stateName, nullptr);
            continue;
        }
        for (const CNameId& childName : entry.children) {
            if (BaseNode* child = target->findChild(childName, 1))
                child->setState(entry.stateName, nullptr, CNameId());
        }
    }
}

CRefPointer<Base> SetStates::clone(BaseNode*, SceneManager*) const {
    CRefPointer<SetStates> copy(new SetStates());
    copy->setName(getName());
    copy->m_entries = m_entries;
    return copy;
}

void SetStates::loadFromXml(CXmlTextReader& reader, IPropertyContentSource*,
                            const CStringW& elementName) {
    m_entries.clear();
    if (reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader.nodeName() == elementName)
            break;
        if (kind == CXmlTextReader::kElement && reader.nodeName() == u"State")
            readEntry(reader);
    }
}

void SetStates::readEntry(const CXmlTextReader& reader) {
    const CString name(reader.getAttribute(u"Name").c_str());
    if (name.isEmpty())
        return;
    Entry entry{CNameId(name), {}};
    const CString children(reader.getAttribute(u"Children").c_str());
    uint32_t start = 0;
    for (uint32_t i = 0; i <= children.length(); ++i) {
        if (i < children.length() && children[i] != ';')
            continue;
        CString piece = children.subString(start, i - start);
        piece.trim();
        if (!piece.isEmpty())
            entry.children.append(CNameId(piece));
        start = i + 1;
    }
    m_entries.append(std::move(entry));
}

void SetStates::saveToXml(CXmlTextWriter& writer, const CStringW& elementName) const {
    openXmlElement(writer, elementName, false, CArray<CStringW>(), CArray<CStringW>());
    writer.writeNewLine();
    for (const Entry& entry : m_entries) {
        CStringW children;
        for (uint32_t i = 0; i < entry.children.size(); ++i) {
            if (i != 0)
                children.append(u";");
            children.append(entry.children[i].toString().c_str());
        }
        const CStringW name(entry.stateName.toString().c_str());
        writer.openElement(u"State", true, u"Name", name.c_str(), u"Children", children.c_str());
        writer.writeNewLine();
    }
    writer.closeElement(elementName.c_str());
}
