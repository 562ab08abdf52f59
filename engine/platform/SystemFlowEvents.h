#pragma once

#include "engine/core/Event.h"

// What the window reports about itself: focus, the application's activation, a close request
// that a receiver may refuse by handling it, and the window's end.

class CEventSystemFlowActivate : public CEventType<19, CEventSystem> {
public:
    explicit CEventSystemFlowActivate(bool active) : m_active(active) {}

    bool isActive() const { return m_active; }

private:
    bool m_active;
};

class CEventSystemFlowAppActivate : public CEventType<20, CEventSystem> {
public:
    explicit CEventSystemFlowAppActivate(bool activated) : m_activated(activated) {}

    bool isActivated() const { return m_activated; }

private:
    bool m_activated;
};

class CEventSystemFlowCloseRequest : public CEventType<21, CEventSystem> {};

class CEventSystemFlowDestroy : public CEventType<22, CEventSystem> {};
