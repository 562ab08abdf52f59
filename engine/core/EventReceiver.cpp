#include "engine/core/EventReceiver.h"

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
