#include "engine/scene/TemplateCollectionNode.h"

#include <utility>

#include "engine/scene/NodeState.h"

TemplateCollectionNode::TemplateCollectionNode(const CContentKey& key, BaseNode* parent,
                                               SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setHandOutMode(kShared);
}

TemplateCollectionNode::~TemplateCollectionNode() {
    const CMap<CNameId, CRefPointer<BaseNode>> templates = std::move(m_templates);
}

void TemplateCollectionNode::OnLoaded() {
    for (uint32_t i = 0; i < getChildCount(); ++i)
        m_templates.insert(getChild(i)->getName(), CRefPointer<BaseNode>::share(getChild(i)));
}

BaseNode* TemplateCollectionNode::getTemplate(CNameId name) const {
    const auto found = m_templates.find(name);
    return found != m_templates.end() ? found->value.get() : nullptr;
}

bool TemplateCollectionNode::applyTemplate(CNameId name, BaseNode* node) const {
    if (node == nullptr)
        return false;
    const CRefPointer<BaseNode> held = CRefPointer<BaseNode>::share(node);
    for (uint32_t i = 0; i < node->getChildCount(); ++i)
        node->getChild(i)->stopAllStates(false);
    node->stopAllStates(false);
    node->removeAllChildren();
    node->removeAllStates();
    if (name == CNameId())
        return true;
    const BaseNode* source = getTemplate(name);
    if (source == nullptr)
        return false;
    node->copyChildrenAndStates(*source);
    return true;
}
