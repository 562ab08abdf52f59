#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlNode.h"

// The direct child of that name in the control's template copy when it is of the kind (any
// node for BaseNode's id); none without a template copy.
BaseNode* findTemplateChild(const ControlNode& control, const char* name,
                            uint32_t kind = BaseNode::kTypeId);

// The same child held, as its class.
template <typename Node>
CRefPointer<Node> holdTemplateChild(const ControlNode& control, const char* name) {
    return CRefPointer<Node>::share(
        static_cast<Node*>(findTemplateChild(control, name, Node::kTypeId)));
}
