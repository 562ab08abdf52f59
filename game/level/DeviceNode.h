#pragma once

#include <cstdint>

#include "engine/scene/NodeClass.h"
#include "game/level/LocationNode.h"

// A location that the hero and the staff use rather than one where clients are served: the
// converter, the trash can and the machines derive from it. It adds nothing of its own.
class GDeviceNode : public NodeClass<GDeviceNode, GLocationNode> {
public:
    static constexpr uint32_t kTypeId = 1152;
    static constexpr const char16_t* kTypeName = u"GDeviceNode";

    using NodeClass::NodeClass;

protected:
    ~GDeviceNode() override = default;
};
