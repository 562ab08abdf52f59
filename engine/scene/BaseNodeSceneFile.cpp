// The node's element of a scene file: reading it with its properties, states and children, and
// writing it back.
#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/io/ContentManager.h"
#include "engine/io/XmlTextReader.h"
#include "engine/io/XmlTextWriter.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeFactory.h"
#include "engine/scene/NodeState.h"
#include "engine/scene/XmlElementSkip.h"

namespace {

constexpr char16_t kNodeElement[] = u"SceneNode";

uint32_t depthOf(const BaseNode& node) {
    uint32_t depth = 0;
    for (const BaseNode* up = node.getParent(); up != nullptr; up = up->getParent())
        ++depth;
    return depth;
}

// The set of the "Properties" element the reader stands on, read through its end tag (the
// empty element name is "Properties").
CRefPointer<CProperties> readProperties(CXmlTextReader& reader, IPropertyContentSource* owner) {
    CRefPointer<CProperties> properties(new CProperties(owner));
    properties->readXml(&reader, false, CStringW::emptyString());
    return properties;
}

// Nodes apply their "Properties" element as a set and drop it. Scene files hold thousands of
// nodes, so the emptied set is kept and read again for the next node, with the storage it has
// grown. A load nested in applying the set (a node's properties loading another file) finds
// none kept and makes its own; a set that a node holds on to is left to it.
CRefPointer<CProperties>& keptPropertySet() {
    thread_local CRefPointer<CProperties> set;
    return set;
}

void applyProperties(BaseNode& node, CXmlTextReader& reader) {
    CRefPointer<CProperties> properties = std::move(keptPropertySet());
    if (!properties || properties->getOwner() != node.getContentManager())
        properties = CRefPointer<CProperties>(new CProperties(node.getContentManager()));
    properties->readXml(&reader, false, CStringW::emptyString());
    node.loadProperties(*properties);
    if (properties->getRefCount() == 1) {
        properties->clear();
        keptPropertySet() = std::move(properties);
    }
}

} // namespace

CRefPointer<BaseNode> BaseNode::createFromXml(const CXmlTextReader& reader,
                                              const CNodeFactory& factory, const CContentKey& key) {
    const CStringW& classOverride = reader.getAttribute(u"ClassOverride");
    CRefPointer<BaseNode> node;
    if (!classOverride.isEmpty())
        node = factory.createNode(classOverride, key);
    if (!node)
        node = factory.createNode(reader.getAttribute(u"Type"), key);
    if (!node)
        CLogger::instance()->log(CStringW(u"Unknown node type: ") + reader.getAttribute(u"Type"),
                                 CLogger::LevelWarning);
    return node;
}

void BaseNode::loadFromXml(CXmlTextReader& reader, const CNodeFactory& factory) {
    if (!reader.isEmptyElement()) {
        while (reader.readNext()) {
            const int32_t kind = reader.nodeKind();
            if (kind == CXmlTextReader::kEndElement && reader.nameIs(kNodeElement))
                break;
            if (kind != CXmlTextReader::kElement)
                continue;
            if (reader.nameIs(u"Properties")) {
                applyProperties(*this, reader);
            } else if (reader.nameIs(u"States")) {
                loadStates(reader, factory);
            } else if (reader.nameIs(kNodeElement)) {
                loadChild(reader, factory);
            } else {
                skipElement(reader);
            }
        }
    }
    OnLoaded();
}

void BaseNode::loadChild(CXmlTextReader& reader, const CNodeFactory& factory) {
    if (depthOf(*this) + 1 >= kMaxLoadDepth) {
        CLogger::instance()->logChars("Scene file nests nodes too deeply; the rest is passed over",
                                      CLogger::LevelWarning);
        skipElement(reader);
        return;
    }
    // The reader's own string: the included file is read by a reader of its own.
    const CStringW& file = reader.getAttribute(u"File");
    if (!file.isEmpty()) {
        CContentManager* content = getContentManager();
        const CRefPointer<CContent> included =
            content != nullptr ? content->load(contentType("snod"), file, true) : nullptr;
        skipElement(reader);
        if (included)
            appendChild(static_cast<BaseNode*>(included.get()));
        return;
    }
    const CRefPointer<BaseNode> child =
        createFromXml(reader, factory, CContentKey(getContentManager(), CStringW::emptyString()));
    if (!child) {
        skipElement(reader);
        return;
    }
    appendChild(child.get());
    child->loadFromXml(reader, factory);
}

void BaseNode::loadStates(CXmlTextReader& reader, const CNodeFactory& factory) {
    removeAllStates();
    if (reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        const int32_t kind = reader.nodeKind();
        if (kind == CXmlTextReader::kEndElement && reader.nameIs(u"States"))
            break;
        if (kind != CXmlTextReader::kElement)
            continue;
        if (reader.nameIs(u"Properties")) {
            const CRefPointer<CProperties> properties = readProperties(reader, getContentManager());
            if (properties->indexOf("DefaultState") >= 0)
                m_defaultState = CNameId(properties->getString("DefaultState"));
        } else if (reader.nameIs(u"State")) {
            const CRefPointer<NodeState> state =
                NodeState::readXml(reader, factory, getContentManager());
            addState(state.get());
        } else {
            skipElement(reader);
        }
    }
}

void BaseNode::saveToXml(CXmlTextWriter& writer) const {
    if (m_internal)
        return;
    writer.openElement(kNodeElement, false, u"Type", getTypeName().c_str());
    writer.writeNewLine();
    const CRefPointer<CProperties> properties(new CProperties(getContentManager()));
    saveProperties(*properties);
    if (properties->getCount() != 0)
        properties->writeXml(&writer, false, CStringW(u"Properties"), true);
    if (m_states.size() != 0) {
        writer.openElement(u"States", false);
        writer.writeNewLine();
        for (const auto& entry : m_states)
            entry.value->saveToXml(writer);
        writer.closeElement(u"States");
        writer.writeNewLine();
    }
    for (const BaseNode* child : m_children)
        child->saveToXml(writer);
    writer.closeElement(kNodeElement);
    writer.writeNewLine();
}
