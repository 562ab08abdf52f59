#pragma once

#include <cstdint>

#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

// A throw-away holder of effects: it removes itself once its children have finished
// "SelfDestruct" (and reports that as handled); other states leave it in place.
class GSelfDestructNode : public NodeClass<GSelfDestructNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 1160;
    static constexpr const char16_t* kTypeName = u"GSelfDestructNode";

    using NodeClass::NodeClass;

    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;

protected:
    ~GSelfDestructNode() override = default;
};
