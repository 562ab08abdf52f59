#pragma once

#include "engine/core/Event.h"

// Posted by the frame step when a frame is to be drawn; it carries nothing.
class CEventSystemFlowRender : public CEventType<17, CEventSystem> {};
