#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/ListElements.h"
#include "engine/ui/ListItem.h"
#include "engine/ui/SliderNode.h"
#include "engine/ui/UiEvents.h"

// The list: items shown through a fixed pool of elements, clones of the template's "Element"
// named "Element0", "Element1", ..., laid out in the list's bounds as a column (orientation 0),
// a row (1) or a grid filled column by column (2) or row by row (3), and filled from the items
// starting at "TopItem". A circular list wraps its indexes around the ends. The template may
// add "PrevButton" and "NextButton", which page, and a "Slider", which scrolls.
//
// The arrow keys move the selection along the layout; a click on an element selects its item,
// and one on the element's "CheckBox" checks the item. The list posts to its parent: 66 when
// the selection changed, 67 when an element was clicked (then 65 when that moved the
// selection), 68 when an element's check box was, 69 when an element became hovered.
//
// Elements are made only when the template is applied or the orientation changes; scrolling,
// selecting and changing items refill them, so a list of any length costs its elements only.
class ListNode : public NodeClass<ListNode, ControlNode> {
public:
    static constexpr uint32_t kTypeId = 13;
    static constexpr const char16_t* kTypeName = u"ListNode";
    // What item counts and layouts from files are held to.
    static constexpr int32_t kMaxItems = 100000;
    static constexpr int32_t kMaxLinesShown = 128;

    ListNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    // Nothing while hidden; the elements after the template.
    void collectDrawables(RenderList& list) override;
    // Where the template or an element is hit.
    bool hitTest(const CVector3d& point) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Binds "Element", "PrevButton", "NextButton" and "Slider", then makes and fills the
    // elements.
    void applyTemplate() override;
    // Gives the focus to the selected element, scrolling it into view.
    void focusDefaultChild() override;
    // Gaining the focus puts it on the selected element unless an element holds it.
    void setFocused(bool focused) override;
    bool OnKeyDown(CEventInputKeyDown& event) override;
    // Events the list's own children leave go to the buttons, the slider (not keys) and the
    // elements.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // A click that starts on an element goes no further.
    virtual bool OnElementClickStarted(CEventControlClickStarted& event);
    // Paging buttons, element clicks and check box clicks.
    virtual bool OnButtonClicked(CEventControlClicked& event);
    virtual bool OnElementHovered(CEventControlHovered& event);
    // The slider scrolls the list.
    virtual bool OnSliderValueChanged(CEventSliderValueChanged& event);

    // Adds default items or removes the last ones, then shows the window again.
    void setItemsCount(int32_t count);
    int32_t getItemsCount() const { return int32_t(m_items.size()); }
    // Ignored for an item that does not exist; adds empty columns up to the column. The
    // elements show it at their next refresh.
    void setItemText(int32_t item, int32_t column, const CStringW& text);
    // One item per string, its first column the string.
    void setStrings(const CArray<CStringW>& strings);
    // The first column of every item.
    CArray<CStringW> getStrings() const;
    // None for an item that does not exist.
    ListItem* getItem(int32_t item);
    // Values other than 0 to 3 give 0; the elements are made again.
    void setOrientation(int32_t orientation);
    int32_t getOrientation() const { return m_orientation; }
    bool isCircular() const { return m_circular; }
    void setCircular(bool circular) { m_circular = circular; }
    bool isSelectWhileListingOn() const { return m_selectWhileListing; }
    void setSelectWhileListingOn(bool on) { m_selectWhileListing = on; }

    // Held to the items, then shows the window from there.
    void setTopItem(int32_t index);
    int32_t getTopItem() const { return m_topItem; }
    // Wraps the index, focuses the element that shows it and, with scroll set, scrolls it into
    // view; posts 66 when the selection moved.
    void selectItem(int32_t index, bool scroll);
    // What "SelectedItem" sets: the selection, scrolled into view.
    void setSelectedItem(int32_t index) { selectItem(index, true); }
    int32_t getSelectedItem() const { return m_selectedItem; }

    // The element showing the item; a value outside the elements when none does.
    int32_t elementIndexOf(int32_t item) const;
    uint32_t getElementCount() const { return m_elements.getCount(); }
    // None for an index that is no element.
    BaseNode* getElement(uint32_t index) const { return m_elements.get(int32_t(index)); }
    // (0, 0, 0) for an index that is no element.
    CVector3d getElementPosition(int32_t index) const { return m_elements.getPosition(index); }
    // The element template's width and height; (0, 0) without one.
    CVector2d getElementSize() const { return m_elements.getSize(); }
    int32_t getColumns() const { return m_columns; }
    int32_t getRows() const { return m_rows; }

    // Fills every element from its item.
    void refreshElements();
    // Makes the elements again for the list's bounds and orientation, empty.
    void rebuildElements();

protected:
    ~ListNode() override;

private:
    struct PageInfo {
        int32_t visibleLines;
        int32_t itemsPerLine;
        int32_t totalLines;
    };

    void bindTemplateChildren();
    void layoutElements();
    void updateSlider();
    void fillElement(BaseNode& element, const ListItem& item);
    // Within the items: around them when circular, else held to the ends; 0 without items.
    int32_t wrapIndex(int32_t index) const;
    int32_t clampTopItem(int32_t index) const;
    PageInfo getPageInfo() const;
    // Items a paging button moves by.
    int32_t getPageStep() const;
    bool isElement(int32_t index) const {
        return index >= 0 && uint32_t(index) < getElementCount();
    }
    void post(CEvent* event);
    void page(int32_t step);
    bool onElementClicked(BaseNode& node);

    CArray<ListItem> m_items;
    int32_t m_orientation = 0;
    bool m_circular = true;
    int32_t m_selectedItem = 0;
    int32_t m_topItem = 0;
    bool m_selectWhileListing = false;
    int32_t m_columns = 0;
    int32_t m_rows = 0;
    CRefPointer<SliderNode> m_slider;
    // Last: it attaches its container to the list, whose other members are ready by then.
    CListElements m_elements{*this};
};
