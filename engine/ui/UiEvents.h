#pragma once

#include <cstdint>

#include "engine/scene/NodeEvents.h"

// What the ui library's controls report; all are node events (category 32), posted to the
// control's parent through the scene manager's queue unless a class says otherwise.

// The user changed a control's value, check state, text or selection; the event's node is the
// control. Changes made from code raise none.
class CEventSliderValueChanged : public CEventType<65, CEventNode> {
public:
    using CEventType::CEventType;
};

// A list and one of its item indexes.
class CEventListItem : public CEventNode {
public:
    CEventListItem(BaseNode* list, int32_t item) : CEventNode(list), m_item(item) {}

    int32_t getItem() const { return m_item; }

private:
    int32_t m_item;
};

class CEventListSelectionChanged : public CEventType<66, CEventListItem> {
public:
    using CEventType::CEventType;
};

class CEventListItemPressed : public CEventType<67, CEventListItem> {
public:
    using CEventType::CEventType;
};

// The item's check box was clicked; checked is its new state.
class CEventListItemCheckToggled : public CEventType<68, CEventListItem> {
public:
    CEventListItemCheckToggled(BaseNode* list, int32_t item, bool checked)
        : CEventType(list, item), m_checked(checked) {}

    bool isChecked() const { return m_checked; }

private:
    bool m_checked;
};

class CEventListItemHovered : public CEventType<69, CEventListItem> {
public:
    using CEventType::CEventType;
};

// A tab scene switches from the old tab (none for the first activation) to the new one.
class CEventTabSwitch : public CEventType<46, CEventNode> {
public:
    CEventTabSwitch(BaseNode* oldTab, BaseNode* newTab) : CEventType(oldTab), m_newTab(newTab) {}

    BaseNode* getOldTab() const { return getNode(); }
    BaseNode* getNewTab() const { return m_newTab; }

private:
    BaseNode* m_newTab;
};

class CEventTabSwitchStarted : public CEventType<48, CEventTabSwitch> {
public:
    using CEventType::CEventType;
};

// Both tabs have finished the transition.
class CEventTabSwitchFinished : public CEventType<47, CEventTabSwitch> {
public:
    using CEventType::CEventType;
};
