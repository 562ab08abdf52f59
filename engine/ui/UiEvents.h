#pragma once

#include "engine/scene/NodeEvents.h"

// What the ui library's controls report; all are node events (category 32), posted to the
// control's parent through the scene manager's queue unless a class says otherwise.

// The user changed a control's value, check state, text or selection; the event's node is the
// control. Changes made from code raise none.
class CEventSliderValueChanged : public CEventType<65, CEventNode> {
public:
    using CEventType::CEventType;
};
