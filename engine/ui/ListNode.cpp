#include "engine/ui/ListNode.h"

#include <algorithm>

#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/CheckBoxNode.h"
#include "engine/ui/TemplateChild.h"
#include "engine/ui/UiEvents.h"

namespace {

// Whole elements that fit along one side; none for an element without size there.
int32_t elementsAlong(float listSize, float elementSize) {
    if (!(elementSize > 0))
        return 0;
    return std::clamp(truncateToInt(listSize / elementSize), 0, ListNode::kMaxLinesShown);
}

} // namespace

ListNode::ListNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setFocusOnHover(true);
}

ListNode::~ListNode() = default;

const PropertyTable& ListNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&ListNode::getSelectedItem, &ListNode::setSelectedItem>(
                "SelectedItem"),
            accessorProperty<&ListNode::getTopItem, &ListNode::setTopItem>("TopItem"),
            accessorProperty<&ListNode::getItemsCount, &ListNode::setItemsCount>("ItemsCount"),
            fieldProperty<&ListNode::m_circular>("Circular"),
            accessorProperty<&ListNode::getOrientation, &ListNode::setOrientation>("Orientation"),
            fieldProperty<&ListNode::m_selectWhileListing>("IsSelectWhileListingOn"),
            accessorProperty<&ListNode::getStrings, &ListNode::setStrings,
                             CListElements::StringsTraits>("Strings"),
        });
    return table;
}

// Items

ListItem* ListNode::getItem(int32_t item) {
    return item >= 0 && item < getItemsCount() ? &m_items[uint32_t(item)] : nullptr;
}

void ListNode::setItemsCount(int32_t count) {
    const uint32_t wanted = uint32_t(std::clamp(count, 0, kMaxItems));
    while (m_items.size() < wanted)
        m_items.append(ListItem());
    if (m_items.size() > wanted)
        m_items.truncate(wanted);
    setTopItem(m_topItem);
}

void ListNode::setItemText(int32_t item, int32_t column, const CStringW& text) {
    if (ListItem* entry = getItem(item))
        CListElements::setColumn(entry->texts, column, text);
}

void ListNode::setStrings(const CArray<CStringW>& strings) {
    setItemsCount(int32_t(std::min<uint32_t>(strings.size(), kMaxItems)));
    for (uint32_t i = 0; i < m_items.size(); ++i)
        setItemText(int32_t(i), 0, strings[i]);
    refreshElements();
}

CArray<CStringW> ListNode::getStrings() const {
    return CListElements::firstTexts(m_items);
}

// Indexes and pages

int32_t ListNode::wrapIndex(int32_t index) const {
    const int32_t count = getItemsCount();
    if (count == 0)
        return 0;
    if (index >= 0 && index < count)
        return index;
    if (!m_circular)
        return index < 0 ? 0 : count - 1;
    const int32_t wrapped = index % count;
    return wrapped < 0 ? wrapped + count : wrapped;
}

ListNode::PageInfo ListNode::getPageInfo() const {
    PageInfo info{m_rows, 1, 0};
    if (m_orientation == 1)
        info = {m_columns, 1, 0};
    else if (m_orientation == 2)
        info = {m_columns, m_rows, 0};
    else if (m_orientation == 3)
        info = {m_rows, m_columns, 0};
    if (info.itemsPerLine > 0)
        info.totalLines = (getItemsCount() + info.itemsPerLine - 1) / info.itemsPerLine;
    return info;
}

int32_t ListNode::getPageStep() const {
    return m_orientation == 2 ? m_rows : m_orientation == 3 ? m_columns : 1;
}

int32_t ListNode::clampTopItem(int32_t index) const {
    if (m_circular)
        return wrapIndex(index);
    if (getItemsCount() == 0 || m_columns * m_rows == 0 || index < 0)
        return 0;
    const PageInfo info = getPageInfo();
    return std::min(index, std::max(info.totalLines - info.visibleLines, 0) * info.itemsPerLine);
}

int32_t ListNode::elementIndexOf(int32_t item) const {
    const int32_t count = getItemsCount();
    const int32_t elements = int32_t(getElementCount());
    if (count == 0)
        return -1;
    if (m_topItem + elements < count || (m_topItem <= item && item < count))
        return item - m_topItem;
    if (item < 0)
        return -1;
    const int32_t wrapEnd = (m_topItem + elements) % count;
    return item < wrapEnd ? elements - wrapEnd + item : -1;
}

// Window and selection

void ListNode::setTopItem(int32_t index) {
    m_topItem = clampTopItem(index);
    if (int32_t(getElementCount()) >= getItemsCount())
        m_topItem = 0;
    refreshElements();
    selectItem(m_selectedItem, false);
    updateSlider();
}

void ListNode::selectItem(int32_t index, bool scroll) {
    const CRefPointer<ListNode> self = CRefPointer<ListNode>::share(this);
    const int32_t previous = m_selectedItem;
    m_selectedItem = wrapIndex(index);
    const int32_t element = elementIndexOf(m_selectedItem);
    if (isElement(element)) {
        ControlNode* shown = asControlNode(getElement(uint32_t(element)));
        // The focus goes with the selection even while the list has none, or the row that had
        // it would keep looking selected beside the selected one.
        ControlNode* focused = asControlNode(getFocusedChild());
        if (focused != nullptr && focused != shown)
            focused->setFocused(false);
        if (isFocused() && shown != nullptr && !shown->isFocused())
            shown->setFocused(true);
    } else {
        if (ControlNode* focused = asControlNode(getFocusedChild()))
            focused->setFocused(false);
        if (scroll)
            setTopItem(m_selectedItem);
    }
    if (m_selectedItem != previous)
        post(new CEventListSelectionChanged(this, m_selectedItem));
}

void ListNode::post(CEvent* event) {
    postEventToParent(RouteSelfThenParents, *CRefPointer<CEvent>(event));
}

// Elements

void ListNode::setOrientation(int32_t orientation) {
    m_orientation = orientation >= 0 && orientation <= 3 ? orientation : 0;
    rebuildElements();
}

// Without an element template there are neither elements nor lines.
void ListNode::rebuildElements() {
    m_columns = 0;
    m_rows = 0;
    if (m_elements.getTemplate() != nullptr) {
        const CVector2d element = getElementSize();
        m_columns = m_orientation == 0 ? 1 : elementsAlong(getBounds().x, element.x);
        m_rows = m_orientation == 1 ? 1 : elementsAlong(getBounds().y, element.y);
    }
    m_elements.make(*this, uint32_t(m_columns * m_rows));
    layoutElements();
}

void ListNode::layoutElements() {
    const CVector2d size = getElementSize();
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        const int32_t index = int32_t(i);
        int32_t column = 0;
        int32_t row = 0;
        if (m_orientation == 1) {
            column = index;
        } else if (m_orientation == 2) {
            column = index / m_rows;
            row = index % m_rows;
        } else if (m_orientation == 3) {
            row = index / m_columns;
            column = index % m_columns;
        } else {
            row = index;
        }
        getElement(i)->setPosition(CVector3d(float(column) * size.x, float(row) * size.y, 0));
    }
}

void ListNode::fillElement(BaseNode& element, const ListItem& item) {
    if (ControlNode* control = asControlNode(&element)) {
        // An item without a template of its own shows the element's.
        const CNameId name = item.templateName != CNameId()
                                 ? item.templateName
                                 : asControlNode(m_elements.getTemplate())->getTemplateName();
        if (control->getTemplateName() != name)
            control->setTemplateName(name);
    }
    m_elements.fillSlots(element, item.texts, item.images);
    if (ControlNode* control = asControlNode(&element))
        control->setEnabled(item.enabled);
}

void ListNode::refreshElements() {
    const CRefPointer<ListNode> self = CRefPointer<ListNode>::share(this);
    const int32_t selected = elementIndexOf(m_selectedItem);
    static const CNameId checkBoxName(CString("CheckBox"));
    // Counts are read anew for each element: the handlers of what an element plays may change
    // the items or the elements.
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        const CRefPointer<BaseNode> element = CRefPointer<BaseNode>::share(getElement(i));
        const int32_t count = getItemsCount();
        int32_t item = m_topItem + int32_t(i);
        bool shown = item < count;
        if (!shown && m_circular && int32_t(getElementCount()) < count) {
            shown = true;
            item %= count;
        }
        element->setVisible(shown);
        if (!shown)
            continue;
        const ListItem entry = m_items[uint32_t(item)];
        fillElement(*element, entry);
        if (int32_t(i) == selected)
            element->setChildrenState(CNameId(CString("Focus")), nullptr);
        BaseNode* box = element->findChild(checkBoxName, 1);
        if (box != nullptr && box->isKindOf(CheckBoxNode::kTypeId))
            static_cast<CheckBoxNode*>(box)->setChecked(entry.checked);
    }
    layoutElements();
    updateSlider();
}

void ListNode::updateSlider() {
    if (!m_slider)
        return;
    const PageInfo info = getPageInfo();
    if (info.visibleLines == 0 || info.itemsPerLine == 0 || info.totalLines == 0)
        return;
    m_slider->setMinValue(0);
    m_slider->setMaxValue(float(info.totalLines));
    m_slider->setValue(float(m_topItem / info.itemsPerLine));
    m_slider->setPageSize(float(info.visibleLines));
}

// Template

void ListNode::bindTemplateChildren() {
    m_elements.bind(*this);
    m_slider = holdTemplateChild<SliderNode>(*this, "Slider");
}

void ListNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    const CRefPointer<ListNode> self = CRefPointer<ListNode>::share(this);
    ControlNode::applyTemplate();
    bindTemplateChildren();
    rebuildElements();
    refreshElements();
}

// Drawing and transforms

void ListNode::collectDrawables(RenderList& list) {
    if (!isVisible())
        return;
    ControlNode::collectDrawables(list);
    m_elements.collectDrawables(list);
}

bool ListNode::hitTest(const CVector3d& point) {
    return ControlNode::hitTest(point) || m_elements.isHit(*this, point);
}

void ListNode::updateAbsoluteTransform() {
    ControlNode::updateAbsoluteTransform();
    m_elements.updateAbsoluteTransform();
}

void ListNode::updateAbsoluteColor() {
    ControlNode::updateAbsoluteColor();
    m_elements.updateAbsoluteColor();
}

// Copying and properties

void ListNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId)) {
        const auto& list = static_cast<const ListNode&>(source);
        m_selectedItem = list.m_selectedItem;
        m_topItem = list.m_topItem;
        m_circular = list.m_circular;
        m_orientation = list.m_orientation;
        m_selectWhileListing = list.m_selectWhileListing;
        m_items = list.m_items;
    }
    // The clone shows its items through elements of its own copy of the template.
    bindTemplateChildren();
    if (m_elements.getTemplate() != nullptr) {
        rebuildElements();
        refreshElements();
    }
}

void ListNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (m_selectedItem != 0)
        properties.addInt("SelectedItem", m_selectedItem);
    if (m_topItem != 0) {
        properties.addInt("TopItem", m_topItem);
        properties.addInt("ItemsCount", getItemsCount());
    }
    if (!m_circular)
        properties.addBool("Circular", false);
    if (m_orientation != 0)
        properties.addInt("Orientation", m_orientation);
    if (m_selectWhileListing)
        properties.addBool("IsSelectWhileListingOn", true);
    if (m_items.size() != 0)
        properties.addStringArray("Strings", getStrings());
}

void ListNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "Circular", m_circular);
    int32_t number = 0;
    if (loadPropertyIfPresent(properties, "Orientation", number))
        setOrientation(number);
    loadPropertyIfPresent(properties, "IsSelectWhileListingOn", m_selectWhileListing);
    if (loadPropertyIfPresent(properties, "ItemsCount", number))
        setItemsCount(number);
    // The items bound the selection and the window, and "ItemsCount" is written only with a
    // window: a selection read before them would be lost.
    if (const int32_t strings = properties.indexOf("Strings"); strings >= 0)
        setStrings(getPropertyStringArray(properties.getValueAt(strings)));
    if (loadPropertyIfPresent(properties, "SelectedItem", number))
        setSelectedItem(number);
    if (loadPropertyIfPresent(properties, "TopItem", number))
        setTopItem(number);
}
