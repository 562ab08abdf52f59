#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Event.h"
#include "engine/core/PropertyData.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/ControlNode.h"
#include "engine/video/AtlasTexture.h"

// What a list control keeps of its template and shows its items with: an internal container
// of clones of the template's "Element", named "Element0", "Element1", ..., the template's
// "PrevButton" and "NextButton", and which children of the element template are the "Text"
// and "Image" slots an item's columns fill. The list lays out and fills the elements itself.
class CListElements {
public:
    // The container becomes the owner's internal child until this dies.
    explicit CListElements(BaseNode& owner);
    ~CListElements();
    CListElements(const CListElements&) = delete;
    CListElements& operator=(const CListElements&) = delete;

    // How a list's "Strings" property, the first text of every item, is read and written.
    struct StringsTraits {
        static CArray<CStringW> read(const CPropertyData* value);
        static CRefPointer<CPropertyData> make(const CArray<CStringW>& strings);
    };
    // The first text of every item; empty for an item without texts.
    template <typename Item>
    static CArray<CStringW> firstTexts(const CArray<Item>& items) {
        CArray<CStringW> strings;
        for (const Item& item : items)
            strings.append(item.texts.size() != 0 ? item.texts[0] : CStringW());
        return strings;
    }
    // Sets an item's column, adding empty columns up to it; a negative column is ignored.
    template <typename Value>
    static void setColumn(CArray<Value>& columns, int32_t column, const Value& value) {
        if (column < 0)
            return;
        while (columns.size() <= uint32_t(column))
            columns.append(Value());
        columns[uint32_t(column)] = value;
    }

    // Takes "Element" (hidden and never hit itself), "PrevButton" and "NextButton" from the
    // owner's template copy, and finds the element's slots.
    void bind(const ControlNode& owner);
    BaseNode* getTemplate() const { return m_template.get(); }
    const BaseNode* getPrevButton() const { return m_prevButton.get(); }
    const BaseNode* getNextButton() const { return m_nextButton.get(); }
    // The template's width and height; (0, 0) without one.
    CVector2d getSize() const;

    // Removes every element, then clones as many, visible and hit, for the owner's scene; none
    // without a template.
    void make(BaseNode& owner, uint32_t count);
    uint32_t getCount() const { return m_container->getChildCount(); }
    // None for an index that is no element.
    BaseNode* get(int32_t index) const;
    // (0, 0, 0) for an index that is no element.
    CVector3d getPosition(int32_t index) const;
    // The element's index; -1 for a node that is no element.
    int32_t find(const BaseNode* node) const;

    // Column j of the texts goes to the element's j-th "Text" slot, of the images to its j-th
    // "Image" slot; a slot without a column is emptied.
    void fillSlots(BaseNode& element, const CArray<CStringW>& texts,
                   const CArray<CRefPointer<CAtlasTexture>>& images) const;

    void collectDrawables(RenderList& list);
    // Whether an element is hit while the owner is shown and may be hit.
    bool isHit(const BaseNode& owner, const CVector3d& point);
    void updateAbsoluteTransform();
    void updateAbsoluteColor();
    // Offers an event the owner's own children left to the paging buttons, then to the other
    // control given, then to the elements, while the owner takes input; true once one
    // handled it.
    bool offer(ControlNode& owner, int32_t mode, CEvent& event, BaseNode* other = nullptr);

private:
    void findSlots();

    BaseNode* m_container = nullptr;
    CRefPointer<BaseNode> m_template;
    CRefPointer<BaseNode> m_prevButton;
    CRefPointer<BaseNode> m_nextButton;
    CArray<uint32_t> m_textSlots;
    CArray<uint32_t> m_imageSlots;
};
