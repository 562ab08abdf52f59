#pragma once

#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

class Base;
class BaseNode;

// Makes nodes and state actions by the type names scene files give them. The engine's own
// types are known from the start; libraries above and the game add theirs.
class CNodeFactory : public CEventReceiver {
public:
    // A new node with one reference, no parent and no scene manager.
    using NodeCreator = CRefPointer<BaseNode> (*)(const CContentKey& key);
    using ActionCreator = CRefPointer<Base> (*)();

    CNodeFactory();
    CNodeFactory(const CNodeFactory&) = delete;
    CNodeFactory& operator=(const CNodeFactory&) = delete;

    // A name already registered keeps its first creator.
    void registerNodeType(const CStringW& typeName, NodeCreator creator);
    void registerActionType(const CStringW& actionName, ActionCreator creator);
    // None for a name nobody registered.
    CRefPointer<BaseNode> createNode(const CStringW& typeName, const CContentKey& key) const;
    CRefPointer<Base> createAction(const CStringW& actionName) const;

protected:
    ~CNodeFactory() override = default;

private:
    CMap<CStringW, NodeCreator> m_nodeTypes;
    CMap<CStringW, ActionCreator> m_actionTypes;
};

// The creator of a node class: registerNodeType(u"SpriteNode", &createNodeOf<SpriteNode>).
template <typename Node>
CRefPointer<BaseNode> createNodeOf(const CContentKey& key) {
    return CRefPointer<BaseNode>(new Node(key, nullptr, nullptr));
}

template <typename Action>
CRefPointer<Base> createActionOf() {
    return CRefPointer<Base>(new Action());
}
