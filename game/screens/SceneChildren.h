#pragma once

#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/scene/BaseNode.h"

// Screens bind their named nodes once their file is loaded. A node that is missing, or not of
// the kind the screen drives, leaves its member empty, and only what uses it stays idle.

// The direct child of that name when it is a Node; none without a parent.
template <typename Node = BaseNode>
Node* findChildOf(BaseNode* parent, const char* name) {
    BaseNode* node = parent != nullptr ? parent->findChild(nameOf(name), 1) : nullptr;
    return node != nullptr && node->isKindOf(Node::kTypeId) ? static_cast<Node*>(node) : nullptr;
}
