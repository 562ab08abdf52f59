// The strip towards the user: its scrolling buttons, presses and hovers on its elements, and
// the routing of events to the template's buttons and the elements.
#include "engine/scene/NodeEventHook.h"
#include "game/app/GameEvents.h"
#include "game/screens/ShopListNode.h"

const EventMap& GShopListNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GShopListNode::OnElementClickStarted>(),
        eventHook<&GShopListNode::OnButtonClicked>(),
        eventHook<&GShopListNode::OnElementHovered>(),
    };
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

void GShopListNode::postItemEvent(CEvent* event) {
    postEventToParent(RouteSelfThenParents, *CRefPointer<CEvent>(event));
}

bool GShopListNode::OnElementClickStarted(CEventControlClickStarted& event) {
    return m_elements.find(event.getNode()) >= 0;
}

bool GShopListNode::OnButtonClicked(CEventControlClicked& event) {
    const BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    if (node == m_elements.getPrevButton()) {
        setTopItem(m_topItem - 1);
        return true;
    }
    if (node == m_elements.getNextButton()) {
        setTopItem(m_topItem + 1);
        return true;
    }
    const int32_t element = m_elements.find(node);
    if (element < 0)
        return false;
    if (getItemCount() != 0)
        postItemEvent(new GShopListItemPressedEvent(wrapIndex(m_topItem + element)));
    return true;
}

bool GShopListNode::OnElementHovered(CEventControlHovered& event) {
    const int32_t element = m_elements.find(event.getGaining());
    if (element < 0)
        return false;
    if (getItemCount() != 0)
        postItemEvent(new GShopListItemHoveredEvent(wrapIndex(m_topItem + element)));
    return true;
}

bool GShopListNode::sendToChildren(int32_t mode, CEvent& event) {
    return ControlNode::sendToChildren(mode, event) || m_elements.offer(*this, mode, event);
}
