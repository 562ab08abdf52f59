#include "engine/scene/NodeFactory.h"

#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NineGridSpriteNode.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/SetProps.h"
#include "engine/scene/SetStates.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/scene/TextNode.h"

// The engine's node types of this library; the controls and the particle nodes are registered
// by the library that holds them.
CNodeFactory::CNodeFactory() {
    registerNodeType(u"BaseNode", &createNodeOf<BaseNode>);
    registerNodeType(u"TemplateCollectionNode", &createNodeOf<TemplateCollectionNode>);
    registerNodeType(u"SpriteNode", &createNodeOf<SpriteNode>);
    registerNodeType(u"NineGridSpriteNode", &createNodeOf<NineGridSpriteNode>);
    registerNodeType(u"TextNode", &createNodeOf<TextNode>);
    registerNodeType(u"ControlNode", &createNodeOf<ControlNode>);
    registerNodeType(u"SceneNode", &createNodeOf<SceneNode>);
    registerActionType(u"KeyFrame", &createActionOf<KeyFrame>);
    registerActionType(u"SetProps", &createActionOf<SetProps>);
    registerActionType(u"SetStates", &createActionOf<SetStates>);
}

void CNodeFactory::registerNodeType(const CStringW& typeName, NodeCreator creator) {
    if (creator != nullptr)
        m_nodeTypes.insert(typeName, creator);
}

void CNodeFactory::registerActionType(const CStringW& actionName, ActionCreator creator) {
    if (creator != nullptr)
        m_actionTypes.insert(actionName, creator);
}

CRefPointer<BaseNode> CNodeFactory::createNode(const CStringW& typeName,
                                               const CContentKey& key) const {
    const auto found = m_nodeTypes.find(typeName);
    return found != m_nodeTypes.end() ? found->value(key) : CRefPointer<BaseNode>();
}

CRefPointer<Base> CNodeFactory::createAction(const CStringW& actionName) const {
    const auto found = m_actionTypes.find(actionName);
    return found != m_actionTypes.end() ? found->value() : CRefPointer<Base>();
}
