#include "engine/scene/MessageBoxBaseNode.h"

namespace {

CRefPointer<MessageBoxBaseNode> makeBaseBox() {
    return CRefPointer<MessageBoxBaseNode>(new MessageBoxBaseNode(CContentKey(), nullptr, nullptr));
}

} // namespace

MessageBoxBaseNode::MessageBoxBaseNode(const CContentKey& key, BaseNode* parent,
                                       SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {}

MessageBoxBaseNode::Creator& MessageBoxBaseNode::creator() {
    static Creator creator = &makeBaseBox;
    return creator;
}

CRefPointer<MessageBoxBaseNode> MessageBoxBaseNode::create() {
    return creator() != nullptr ? creator()() : makeBaseBox();
}
