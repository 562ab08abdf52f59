#pragma once

#include <cstdint>

#include "engine/scene/NodeClass.h"
#include "engine/ui/ButtonNode.h"

// A button that sends the scene manager's top scene back to the scene it was opened from when
// a click (its own or one of a control inside it) reaches it; the click goes on up.
class BackButtonNode : public NodeClass<BackButtonNode, ButtonNode> {
public:
    static constexpr uint32_t kTypeId = 10;
    static constexpr const char16_t* kTypeName = u"BackButtonNode";

    using NodeClass::NodeClass;

    static const EventMap& getEventMap();

    virtual bool OnButtonClicked(CEventControlClicked& event);

protected:
    ~BackButtonNode() override = default;
};
