#pragma once

#include "engine/core/RefPointer.h"

// An event its sender raises again and again, such as a state's start: one object serves each
// time unless someone still holds the last one (a receiver kept it, or it is still being
// delivered when the sender raises the next), which is then left to them.
template <typename Event>
class CReusedEvent {
public:
    template <typename... Args>
    CRefPointer<Event> make(Args... args) {
        if (m_event && m_event->getRefCount() == 1)
            *m_event = Event(args...);
        else
            m_event = CRefPointer<Event>(new Event(args...));
        return m_event;
    }

private:
    CRefPointer<Event> m_event;
};
