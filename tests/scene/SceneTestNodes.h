#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/SceneEvents.h"

inline CNameId nameId(const char* text) {
    return CNameId(CString(text));
}

// What the logging nodes saw, in order: "<node name>:<event id>", plus the state name for the
// state events ("p:80 Press") and the result of a message box ("a:45 1").
using EventLog = std::vector<std::string>;

inline std::string describe(const BaseNode& node, const CEvent& event) {
    std::string line =
        std::string(node.getName().toString().c_str()) + ":" + std::to_string(event.getTypeId());
    if (event.isKindOf(CEventNode::Id) && event.getTypeId() >= 72 && event.getTypeId() <= 80) {
        const CNameId state = event.getTypeId() <= 73
                                  ? static_cast<const CEventNodeStateChange&>(event).getStateName()
                                  : static_cast<const CEventNodeStateReport&>(event).getStateName();
        if (state != CNameId())
            line += " " + std::string(state.toString().c_str());
    }
    if (event.getTypeId() == CEventMessageBoxResult::Id)
        line += " " + std::to_string(static_cast<const CEventMessageBoxResult&>(event).getResult());
    return line;
}

// Logs every event its OnEvent is offered before its class handles it, and counts the
// destructions of its kind.
template <typename Node>
class Logging : public Node {
public:
    static inline int destroyed = 0;

    Logging(const char* name, BaseNode* parent, EventLog* log = nullptr)
        : Node(CContentKey(), parent, nullptr), m_log(log) {
        this->setName(nameId(name));
    }
    Logging(const CContentKey& key, BaseNode* parent, SceneManager* manager)
        : Node(key, parent, manager) {}

    bool OnEvent(CEvent& event) override {
        if (m_log != nullptr)
            m_log->push_back(describe(*this, event));
        return Node::OnEvent(event);
    }
    void setLog(EventLog* log) { m_log = log; }

protected:
    ~Logging() override { ++destroyed; }

private:
    EventLog* m_log = nullptr;
};

using LoggingNode = Logging<BaseNode>;

// Makes a node with one reference held by the caller.
template <typename Node = LoggingNode>
CRefPointer<Node> makeNode(const char* name, BaseNode* parent = nullptr, EventLog* log = nullptr) {
    return CRefPointer<Node>(new Node(name, parent, log));
}

// Hit wherever its bounds are, unless told not to be; its copies are hit the same way.
class HittingNode : public NodeClass<HittingNode, LoggingNode> {
public:
    static constexpr uint32_t kTypeId = 904;
    static constexpr const char16_t* kTypeName = u"HittingNode";

    using NodeClass::NodeClass;

    bool hitTest(const CVector3d& point) override { return m_hits && isPointInside(point); }
    void setHits(bool hits) { m_hits = hits; }

private:
    bool m_hits = true;
};
