#pragma once

#include <cstdint>

#include "engine/core/Event.h"
#include "engine/core/EventReceiver.h"

template <typename Hook>
struct NodeEventHookOf;
template <typename Receiver, typename Event>
struct NodeEventHookOf<bool (Receiver::*)(Event&)> {
    using Owner = Receiver;
    using Argument = Event;
};

// An event-map entry that calls one (usually virtual) hook of a receiver class with the event
// as the hook's own event class: eventHook<&ControlNode::OnClickEvent>() maps the id of
// CEventControlClick. Events without a class of their own name their id:
// eventHook<&BaseNode::OnDictionaryChanged, 41>().
template <auto Hook, uint32_t Id = NodeEventHookOf<decltype(Hook)>::Argument::Id>
EventMapEntry eventHook() {
    using Traits = NodeEventHookOf<decltype(Hook)>;
    return {Id, [](CEventReceiver& receiver, CEvent& event) {
                return (static_cast<typename Traits::Owner&>(receiver).*
                        Hook)(static_cast<typename Traits::Argument&>(event));
            }};
}
