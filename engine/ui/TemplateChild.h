#pragma once

#include <cstdint>

#include "engine/core/Event.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlNode.h"

// The direct child of that name in the control's template copy when it is of the kind (any
// node for BaseNode's id); none without a template copy.
BaseNode* findTemplateChild(const ControlNode& control, const char* name,
                            uint32_t kind = BaseNode::kTypeId);

// Whether the template's children may be offered an event the control's own children left:
// input does not enter a disabled or hidden control.
bool mayOfferToTemplate(const ControlNode& control, const CEvent& event);

// Delivers the event with the routing mode to the node, when there is one and it takes the
// event's category, keeping the node alive meanwhile; true when it handled the event.
bool offerEvent(BaseNode* node, int32_t mode, CEvent& event);

// The same child held, as its class.
template <typename Node>
CRefPointer<Node> holdTemplateChild(const ControlNode& control, const char* name) {
    return CRefPointer<Node>::share(
        static_cast<Node*>(findTemplateChild(control, name, Node::kTypeId)));
}
