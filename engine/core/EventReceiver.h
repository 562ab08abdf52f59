#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Event.h"
#include "engine/core/Map.h"
#include "engine/core/RefCounted.h"

class CEventReceiver;

using EventHandler = bool (*)(CEventReceiver& receiver, CEvent& event);
// Per receiver class: event type id -> handler.
using EventMap = CMap<uint32_t, EventHandler>;

struct EventMapEntry {
    uint32_t typeId;
    EventHandler handler;
};

// A handler that calls one member function of a receiver class.
template <typename Receiver, bool (Receiver::*Hook)(CEvent&)>
bool eventHandler(CEventReceiver& receiver, CEvent& event) {
    return (static_cast<Receiver&>(receiver).*Hook)(event);
}

// Anything that takes events. Delivery follows a routing mode (see deliver); a class with an
// event map answers OnEvent through dispatchThroughEventMap. The pre- and post-receiver lists
// hold receivers attached by their owners, who must detach them before destroying them.
class CEventReceiver : public virtual CRefCounted {
public:
    enum RoutingMode : int32_t {
        RouteSelf = 0,
        RouteSelfThenChildren = 1,
        RouteChildrenThenSelf = 2,
        RouteSelfThenParents = 3,
        RouteParentsThenSelf = 4,
    };

    CEventReceiver() = default;
    // Attached receivers belong to the original, not to a copy.
    CEventReceiver(const CEventReceiver& other)
        : CRefCounted(), m_categoryMask(other.m_categoryMask) {}
    CEventReceiver& operator=(const CEventReceiver& other);

    virtual bool OnEvent(CEvent& event);
    virtual bool sendToParent(int32_t mode, CEvent& event);
    virtual bool sendToChildren(int32_t mode, CEvent& event);

    // Routes one event; stops at the first receiver that handles it. Unknown modes do nothing.
    bool deliver(int32_t mode, CEvent& event);

    // Offer the event to the attached receivers in list order; true at the first that handles it.
    bool dispatchToPreReceivers(CEvent& event);
    bool dispatchToPostReceivers(CEvent& event);

    void addPreReceiver(CEventReceiver* receiver) { m_preReceivers.append(receiver); }
    CArray<CEventReceiver*>& getPreReceivers() { return m_preReceivers; }
    CArray<CEventReceiver*>& getPostReceivers() { return m_postReceivers; }

    uint32_t getCategoryMask() const { return m_categoryMask; }
    void setCategoryMask(uint32_t mask) { m_categoryMask = mask; }

    // The root of every class's event map: empty.
    static const EventMap& getEventMap();

protected:
    // Pre-receivers, then the map's handler for the event's type id, then the post-receivers
    // (only when that list was non-empty before the handler ran).
    bool dispatchThroughEventMap(const EventMap& map, CEvent& event);

    // A class's map: a copy of its parent's, its own entries replacing inherited ones.
    template <size_t N>
    static EventMap buildEventMap(const EventMap& parent, const EventMapEntry (&own)[N]) {
        EventMap map(parent);
        for (const EventMapEntry& entry : own) {
            map[entry.typeId] = entry.handler;
        }
        return map;
    }

private:
    uint32_t m_categoryMask = 0;
    CArray<CEventReceiver*> m_preReceivers;
    CArray<CEventReceiver*> m_postReceivers;
};
