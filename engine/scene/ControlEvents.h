#pragma once

#include "engine/scene/NodeEvents.h"

// What controls report. The pressed, hover and focus events carry the node that loses the
// condition (the event's node) and the one that gains it; the click events the control alone.
class CEventControlChange : public CEventNode {
public:
    CEventControlChange(BaseNode* losing, BaseNode* gaining)
        : CEventNode(losing), m_gaining(gaining) {}

    BaseNode* getLosing() const { return getNode(); }
    BaseNode* getGaining() const { return m_gaining; }

private:
    BaseNode* m_gaining;
};

// Ids 49, 51 and 61 have no class of their own; their events are kinds of them.
class CEventControlPressed : public CEventType<50, CEventType<49, CEventControlChange>> {
public:
    explicit CEventControlPressed(BaseNode* control) : CEventType(nullptr, control) {}
};

class CEventControlReleased : public CEventType<52, CEventType<51, CEventControlChange>> {
public:
    explicit CEventControlReleased(BaseNode* control) : CEventType(control, nullptr) {}
};

// Sent up the parents when a control becomes hovered, so each one above takes the hover.
class CEventControlHover : public CEventType<53, CEventControlChange> {
public:
    using CEventType::CEventType;
};

class CEventControlHovered : public CEventType<54, CEventType<53, CEventControlChange>> {
public:
    explicit CEventControlHovered(BaseNode* control) : CEventType(nullptr, control) {}
};

// Sent down to a control's children when one of its descendants took the hover.
class CEventControlUnhover : public CEventType<55, CEventControlChange> {
public:
    using CEventType::CEventType;
};

class CEventControlUnhovered : public CEventType<56, CEventType<55, CEventControlChange>> {
public:
    explicit CEventControlUnhovered(BaseNode* control) : CEventType(control, nullptr) {}
};

class CEventControlFocus : public CEventType<57, CEventControlChange> {
public:
    using CEventType::CEventType;
};

class CEventControlFocused : public CEventType<58, CEventType<57, CEventControlChange>> {
public:
    explicit CEventControlFocused(BaseNode* control) : CEventType(nullptr, control) {}
};

class CEventControlUnfocus : public CEventType<59, CEventControlChange> {
public:
    using CEventType::CEventType;
};

class CEventControlUnfocused : public CEventType<60, CEventType<59, CEventControlChange>> {
public:
    explicit CEventControlUnfocused(BaseNode* control) : CEventType(control, nullptr) {}
};

class CEventControlClickStarted : public CEventType<62, CEventType<61, CEventNode>> {
public:
    using CEventType::CEventType;
};

// Raised on a control when the "Press" state of its click has finished.
class CEventControlClick : public CEventType<63, CEventNode> {
public:
    using CEventType::CEventType;
};

// Posted after 63: what scenes wait for.
class CEventControlClicked : public CEventType<64, CEventType<63, CEventNode>> {
public:
    using CEventType::CEventType;
};
