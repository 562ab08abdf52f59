// The list towards the user: keys along the layout, paging buttons, the scroll slider, clicks
// on elements and their check boxes, hovered elements, and the routing of events to the
// template's controls and the elements.
#include "engine/core/MathHelpers.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/ControlKeys.h"
#include "engine/ui/ListNode.h"
#include "engine/ui/UiEvents.h"

const EventMap& ListNode::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&ListNode::OnElementClickStarted>(),
        eventHook<&ListNode::OnButtonClicked>(),
        eventHook<&ListNode::OnElementHovered>(),
        eventHook<&ListNode::OnSliderValueChanged>(),
    };
    static const EventMap map = buildEventMap(ControlNode::getEventMap(), own);
    return map;
}

bool ListNode::OnKeyDown(CEventInputKeyDown& event) {
    // Steps along the layout: a column, a row, a grid by columns, a grid by rows.
    const int32_t across[4] = {0, 1, m_rows, 1};
    const int32_t along[4] = {1, 0, 1, m_columns};
    int32_t step = 0;
    switch (event.getVirtualKey()) {
    case kKeyLeft:
        step = -across[m_orientation];
        break;
    case kKeyRight:
        step = across[m_orientation];
        break;
    case kKeyUp:
        step = -along[m_orientation];
        break;
    case kKeyDown:
        step = along[m_orientation];
        break;
    default:
        break;
    }
    const int32_t next = wrapIndex(m_selectedItem + step);
    if (step == 0 || next == m_selectedItem)
        return ControlNode::OnKeyDown(event);
    selectItem(next, true);
    return true;
}

void ListNode::focusDefaultChild() {
    selectItem(m_selectedItem, true);
}

// The element last focused gave up the focus when the selection moved while the list had none;
// an element that takes the focus itself (a click) keeps it.
void ListNode::setFocused(bool focused) {
    const bool gained = focused && !isFocused();
    ControlNode::setFocused(focused);
    const ControlNode* last = asControlNode(getFocusedChild());
    if (gained && isFocused() && (last == nullptr || !last->isFocused()))
        focusDefaultChild();
}

bool ListNode::OnElementClickStarted(CEventControlClickStarted& event) {
    const BaseNode* node = event.getNode();
    return node != m_elements.getPrevButton() && node != m_elements.getNextButton() &&
           m_elements.find(node) >= 0;
}

void ListNode::page(int32_t step) {
    const int32_t top = clampTopItem(m_topItem + step);
    setTopItem(top);
    if (m_selectWhileListing)
        selectItem(top, false);
}

bool ListNode::onElementClicked(BaseNode& node) {
    static const CNameId checkBoxName(CString("CheckBox"));
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        const int32_t item = wrapIndex(m_topItem + int32_t(i));
        if (&node == getElement(i)) {
            if (item < getItemsCount()) {
                m_selectedItem = item;
                post(new CEventListItemPressed(this, item));
            }
            return true;
        }
        if (node.isKindOf(CheckBoxNode::kTypeId) && node.getName() == checkBoxName &&
            node.getParent() == getElement(i)) {
            // An empty list has no item to check.
            if (ListItem* entry = getItem(item)) {
                entry->checked = static_cast<CheckBoxNode&>(node).isChecked();
                post(new CEventListItemCheckToggled(this, item, entry->checked));
            }
            return true;
        }
    }
    return false;
}

bool ListNode::OnButtonClicked(CEventControlClicked& event) {
    BaseNode* node = event.getNode();
    if (node == nullptr)
        return false;
    const CRefPointer<ListNode> self = CRefPointer<ListNode>::share(this);
    const int32_t previous = m_selectedItem;
    bool handled = true;
    if (node == m_elements.getPrevButton())
        page(-getPageStep());
    else if (node == m_elements.getNextButton())
        page(getPageStep());
    else
        handled = onElementClicked(*node);
    if (m_selectedItem != previous)
        post(new CEventSliderValueChanged(this));
    return handled;
}

bool ListNode::OnElementHovered(CEventControlHovered& event) {
    const int32_t element = m_elements.find(event.getGaining());
    if (element < 0)
        return false;
    if (getItemsCount() != 0)
        post(new CEventListItemHovered(this, wrapIndex(m_topItem + element)));
    return true;
}

bool ListNode::OnSliderValueChanged(CEventSliderValueChanged& event) {
    if (!m_slider || event.getNode() != m_slider.get())
        return false;
    const CRefPointer<ListNode> self = CRefPointer<ListNode>::share(this);
    const int32_t top = truncateToInt(m_slider->getValue()) * getPageInfo().itemsPerLine;
    setTopItem(top);
    if (m_selectWhileListing)
        selectItem(top, false);
    return true;
}

bool ListNode::sendToChildren(int32_t mode, CEvent& event) {
    if (ControlNode::sendToChildren(mode, event))
        return true;
    // Keys never reach the slider.
    BaseNode* slider = event.isKindOf(CEventInputKey::Id) ? nullptr : m_slider.get();
    return m_elements.offer(*this, mode, event, slider);
}
