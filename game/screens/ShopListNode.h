#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/ControlNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/ListElements.h"
#include "engine/video/AtlasTexture.h"

// One offer of the strip: text j goes to the element's j-th "Text" child, image j to its j-th
// "Image" child; the element takes the template name (none: no template) and is enabled with
// the item. The data object is its owner's, kept alive by the item.
struct ShopListItem {
    CArray<CStringW> texts;
    CArray<CRefPointer<CAtlasTexture>> images;
    CNameId templateName;
    bool enabled = true;
    CRefPointer<CRefCounted> data;
};

// The shop's horizontal, circular strip of offers: a row of elements cloned from the
// template's "Element" ("Element0", "Element1", ...) shows the items from "TopItem" on,
// wrapping round the end; "PrevButton" and "NextButton" scroll it by one item. A click on an
// element posts GShopListItemPressedEvent, a hover GShopListItemHoveredEvent, each with the
// item's index, to the list's parent, so the screen never deals with elements.
//
// Elements are made only when the template is applied; items, scrolling and refreshes refill
// them, so the strip costs its elements only, however many offers it has.
class GShopListNode : public NodeClass<GShopListNode, ControlNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1113;
    static constexpr const char16_t* kTypeName = u"GShopListNode";
    // A scene file must not make the list clone without bound.
    static constexpr uint32_t kMaxElements = 64;

    GShopListNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();
    static const EventMap& getEventMap();

    // Nothing while hidden; the elements after the template. Keeps the list on the clock of
    // the scene that owns it.
    void collectDrawables(RenderList& list) override;
    bool hitTest(const CVector3d& point) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Binds "Element", "PrevButton" and "NextButton", then makes and fills the elements.
    void applyTemplate() override;
    void focusDefaultChild() override {}
    // Events the list's own children leave go to the buttons, then the elements.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    bool OnUpdate(uint32_t) override { return true; }

    // A click that starts on an element goes no further.
    virtual bool OnElementClickStarted(CEventControlClickStarted& event);
    // Scrolling buttons and element presses.
    virtual bool OnButtonClicked(CEventControlClicked& event);
    virtual bool OnElementHovered(CEventControlHovered& event);

    // Adds default items or removes the last ones, then shows the window again.
    void setItemsCount(int32_t count);
    int32_t getItemCount() const { return int32_t(m_items.size()); }
    // One item per string, its first text the string.
    void setStrings(const CArray<CStringW>& strings);
    // The first text of every item.
    CArray<CStringW> getStrings() const;
    // The setters ignore an item that does not exist and leave the elements as they are; a
    // text or image column beyond the item's adds empty ones up to it.
    void setItemText(int32_t item, int32_t column, const CStringW& text);
    void setItemImage(int32_t item, int32_t column, CAtlasTexture* image);
    void setItemTemplate(int32_t item, CNameId name);
    void setItemEnabled(int32_t item, bool enabled);
    void setItemData(int32_t item, CRefCounted* data);
    // None for an item that does not exist.
    CRefCounted* getItemData(int32_t item) const;
    const ShopListItem* getItem(int32_t item) const;

    // Wrapped into the items (0 without any), then shows the window from there.
    void setTopItem(int32_t index);
    int32_t getTopItem() const { return m_topItem; }
    // The element showing the item; -1 when none does.
    int32_t elementIndexOfItem(int32_t item) const;

    uint32_t getElementCount() const { return m_elements.getCount(); }
    // None for an index that is no element.
    BaseNode* getElement(int32_t index) const { return m_elements.get(index); }
    // (0, 0, 0) for an index that is no element.
    CVector3d getElementPosition(int32_t index) const { return m_elements.getPosition(index); }
    // The element template's width and height; (0, 0) without one.
    CVector2d getElementSize() const { return m_elements.getSize(); }

    // Fills every element from its item.
    void refreshElements();

protected:
    ~GShopListNode() override;

private:
    void createElements();
    void layoutElements();
    void fillElement(BaseNode& element, int32_t index);
    // Within the items; 0 without any.
    int32_t wrapIndex(int32_t index) const;
    ShopListItem* item(int32_t index);
    void postItemEvent(CEvent* event);

    CArray<ShopListItem> m_items;
    int32_t m_topItem = 0;
    // Last: it attaches its container to the list, whose other members are ready by then.
    CListElements m_elements{*this};
};
