#include "engine/core/EventReceiver.h"

#include "engine/core/RefPointer.h"

namespace {

// A handler may drop the last reference to its own receiver (an owner letting go of it), and
// the delivery goes on reading the receiver after the handler: it holds a reference until it
// is done. A receiver already being destroyed has no count left to hold.
CRefPointer<CEventReceiver> keepAlive(CEventReceiver* receiver) {
    return receiver->getRefCount() > 0 ? CRefPointer<CEventReceiver>::share(receiver)
                                       : CRefPointer<CEventReceiver>();
}

} // namespace

CEventReceiver& CEventReceiver::operator=(const CEventReceiver& other) {
    m_categoryMask = other.m_categoryMask;
    return *this;
}

bool CEventReceiver::OnEvent(CEvent&) {
    return false;
}

bool CEventReceiver::sendToParent(int32_t, CEvent&) {
    return false;
}

bool CEventReceiver::sendToChildren(int32_t, CEvent&) {
    return false;
}

bool CEventReceiver::deliver(int32_t mode, CEvent& event) {
    const CRefPointer<CEventReceiver> self = keepAlive(this);
    switch (mode) {
    case RouteSelf:
        return OnEvent(event);
    case RouteSelfThenChildren:
        return OnEvent(event) || sendToChildren(mode, event);
    case RouteChildrenThenSelf:
        return sendToChildren(mode, event) || OnEvent(event);
    case RouteSelfThenParents:
        return OnEvent(event) || sendToParent(mode, event);
    case RouteParentsThenSelf:
        return sendToParent(mode, event) || OnEvent(event);
    default:
        return false;
    }
}

static bool offerInOrder(const CArray<CEventReceiver*>& receivers, CEvent& event) {
    for (uint32_t i = 0; i < receivers.size(); ++i) {
        if (receivers[i]->OnEvent(event)) {
            return true;
        }
    }
    return false;
}

bool CEventReceiver::dispatchToPreReceivers(CEvent& event) {
    return offerInOrder(m_preReceivers, event);
}

bool CEventReceiver::dispatchToPostReceivers(CEvent& event) {
    return offerInOrder(m_postReceivers, event);
}

const EventMap& CEventReceiver::getEventMap() {
    static const EventMap map;
    return map;
}

bool CEventReceiver::dispatchThroughEventMap(const EventMap& map, CEvent& event) {
    const CRefPointer<CEventReceiver> self = keepAlive(this);
    if (dispatchToPreReceivers(event)) {
        return true;
    }
    // A post-receiver attached by the handler itself does not see this event.
    const bool hadPostReceivers = m_postReceivers.size() != 0;
    const auto found = map.find(event.getTypeId());
    if (found != map.end() && found->value(*this, event)) {
        return true;
    }
    return hadPostReceivers && dispatchToPostReceivers(event);
}
