#pragma once

#include <cstdint>

#include "engine/scene/NodeEvents.h"

class BaseNode;

// A path mover reached the end of its path: event 76 from the node to its parent with the
// value its owner gave when starting it. Its state name is empty, so the engine's own handlers
// of 76 pass it by.
class GPathFinishedEvent : public CEventNodeChildStateFinished {
public:
    GPathFinishedEvent(BaseNode* node, int32_t finishValue)
        : CEventNodeChildStateFinished(node, CNameId()), m_finishValue(finishValue) {}

    int32_t getFinishValue() const { return m_finishValue; }

private:
    int32_t m_finishValue;
};
