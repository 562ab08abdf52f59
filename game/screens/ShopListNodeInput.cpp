// The strip towards the user: its scrolling buttons, presses and hovers on its elements, and
// the routing of events to the template's buttons and the elements.
#include "engine/scene/NodeEventHook.h"
#include "engine/ui/TemplateChild.h"
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

int32_t GShopListNode::findElement(const BaseNode* node) const {
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        if (m_container->getChild(i) == node)
            return int32_t(i);
    }
    return -1;
}

void GShopListNode::postItemEvent(CEvent* event) {
    postEventToParent(RouteSelfThenParents, *CRefPointer<CEvent>(event));
}

bool GShopListNode::OnElementClickStarted(CEventControlClickStarted& event) {
    return findElement(event.getNode()) >= 0;
}

bool GShopListNode::OnButtonClicked(CEventControlClicked& event) {
    const BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    if (node == m_prevButton.get()) {
        setTopItem(m_topItem - 1);
        return true;
    }
    if (node == m_nextButton.get()) {
        setTopItem(m_topItem + 1);
        return true;
    }
    const int32_t element = findElement(node);
    if (element < 0)
        return false;
    if (getItemCount() != 0)
        postItemEvent(new GShopListItemPressedEvent(wrapIndex(m_topItem + element)));
    return true;
}

bool GShopListNode::OnElementHovered(CEventControlHovered& event) {
    const int32_t element = findElement(event.getGaining());
    if (element < 0)
        return false;
    if (getItemCount() != 0)
        postItemEvent(new GShopListItemHoveredEvent(wrapIndex(m_topItem + element)));
    return true;
}

bool GShopListNode::sendToChildren(int32_t mode, CEvent& event) {
    if (ControlNode::sendToChildren(mode, event))
        return true;
    if (!mayOfferToTemplate(*this, event))
        return false;
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    if (offerEvent(m_prevButton.get(), mode, event) || offerEvent(m_nextButton.get(), mode, event))
        return true;
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        if (offerEvent(m_container->getChild(i), mode, event))
            return true;
    }
    return false;
}
