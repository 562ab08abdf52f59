#include "game/screens/ShopListNode.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/Utf.h"
#include "engine/scene/PropertyBindings.h"

namespace {

constexpr uint32_t kIntervalMs = 30;

} // namespace

GShopListNode::GShopListNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kIntervalMs);
    setFocusOnHover(true);
}

GShopListNode::~GShopListNode() = default;

const PropertyTable& GShopListNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&GShopListNode::getTopItem, &GShopListNode::setTopItem>("TopItem"),
            accessorProperty<&GShopListNode::getStrings, &GShopListNode::setStrings,
                             CListElements::StringsTraits>("Strings"),
        });
    return table;
}

// Items

ShopListItem* GShopListNode::item(int32_t index) {
    return index >= 0 && index < getItemCount() ? &m_items[uint32_t(index)] : nullptr;
}

const ShopListItem* GShopListNode::getItem(int32_t index) const {
    return index >= 0 && index < getItemCount() ? &m_items[uint32_t(index)] : nullptr;
}

void GShopListNode::setItemsCount(int32_t count) {
    const uint32_t wanted = uint32_t(std::max(count, 0));
    while (m_items.size() < wanted)
        m_items.append(ShopListItem());
    if (m_items.size() > wanted)
        m_items.truncate(wanted);
    setTopItem(m_topItem);
}

void GShopListNode::setStrings(const CArray<CStringW>& strings) {
    setItemsCount(int32_t(strings.size()));
    for (uint32_t i = 0; i < m_items.size(); ++i)
        setItemText(int32_t(i), 0, strings[i]);
    refreshElements();
}

CArray<CStringW> GShopListNode::getStrings() const {
    return CListElements::firstTexts(m_items);
}

void GShopListNode::setItemText(int32_t index, int32_t column, const CStringW& text) {
    if (ShopListItem* entry = item(index))
        CListElements::setColumn(entry->texts, column, text);
}

void GShopListNode::setItemImage(int32_t index, int32_t column, CAtlasTexture* image) {
    if (ShopListItem* entry = item(index))
        CListElements::setColumn(entry->images, column, CRefPointer<CAtlasTexture>::share(image));
}

void GShopListNode::setItemTemplate(int32_t index, CNameId name) {
    if (ShopListItem* entry = item(index))
        entry->templateName = name;
}

void GShopListNode::setItemEnabled(int32_t index, bool enabled) {
    if (ShopListItem* entry = item(index))
        entry->enabled = enabled;
}

void GShopListNode::setItemData(int32_t index, CRefCounted* data) {
    ShopListItem* entry = item(index);
    if (entry != nullptr && entry->data.get() != data)
        entry->data = CRefPointer<CRefCounted>::share(data);
}

CRefCounted* GShopListNode::getItemData(int32_t index) const {
    const ShopListItem* entry = getItem(index);
    return entry != nullptr ? entry->data.get() : nullptr;
}

// The window

int32_t GShopListNode::wrapIndex(int32_t index) const {
    const int32_t count = getItemCount();
    if (count <= 0)
        return 0;
    // Every value lands in 0 .. count - 1, -count included.
    const int32_t wrapped = index % count;
    return wrapped < 0 ? wrapped + count : wrapped;
}

void GShopListNode::setTopItem(int32_t index) {
    m_topItem = wrapIndex(index);
    refreshElements();
}

int32_t GShopListNode::elementIndexOfItem(int32_t index) const {
    const int32_t count = getItemCount();
    if (index < 0 || index >= count)
        return -1;
    int32_t element = index - m_topItem;
    if (element < 0)
        element += count;
    return element < int32_t(getElementCount()) ? element : -1;
}

// Elements

void GShopListNode::createElements() {
    const float width = getElementSize().x;
    const int32_t fit = width > 0 ? truncateToInt(getBounds().x / width) : 0;
    uint32_t count = uint32_t(std::max(fit, 1));
    if (count > kMaxElements) {
        CLogger::instance()->log(CStringW(u"GShopListNode \"") +
                                     utf8ToUtf16(getName().toString().c_str()) +
                                     CStringW(u"\": too many elements, 64 made"),
                                 CLogger::LevelWarning);
        count = kMaxElements;
    }
    m_elements.make(*this, count);
    layoutElements();
}

void GShopListNode::layoutElements() {
    const BaseNode* elementTemplate = m_elements.getTemplate();
    if (elementTemplate == nullptr)
        return;
    const CVector3d origin = elementTemplate->getPosition();
    const float width = getElementSize().x;
    for (int32_t i = 0; i < int32_t(getElementCount()); ++i)
        getElement(i)->setPosition(origin + CVector3d(float(i) * width, 0, 0));
}

void GShopListNode::fillElement(BaseNode& element, int32_t index) {
    ControlNode* control = asControlNode(&element);
    const CNameId look = m_items[uint32_t(index)].templateName;
    const bool restyled = control != nullptr && control->getTemplateName() != look;
    if (restyled)
        control->setTemplateName(look);
    // Applying a template runs the handlers of the new look, which may change the items.
    if (index >= getItemCount())
        return;
    const ShopListItem& entry = m_items[uint32_t(index)];
    m_elements.fillSlots(element, entry.texts, entry.images);
    // A new look shows no condition until it is told.
    if (control != nullptr && (restyled || control->isEnabled() != entry.enabled))
        control->setEnabled(entry.enabled);
}

void GShopListNode::refreshElements() {
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    // Counts are read anew for each element: the handlers of what an element plays may change
    // the items or the elements.
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        const CRefPointer<BaseNode> element = CRefPointer<BaseNode>::share(getElement(int32_t(i)));
        const int32_t count = getItemCount();
        const bool shown = int32_t(i) < count;
        element->setVisible(shown);
        if (!shown)
            continue;
        int32_t index = int32_t(i) + m_topItem;
        if (index >= count)
            index -= count;
        fillElement(*element, index);
    }
    layoutElements();
}

// Template

void GShopListNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    ControlNode::applyTemplate();
    m_elements.bind(*this);
    createElements();
    refreshElements();
}

// Drawing and transforms

void GShopListNode::collectDrawables(RenderList& list) {
    if (!isVisible())
        return;
    ControlNode::collectDrawables(list);
    m_elements.collectDrawables(list);
    setScheduler(getSceneClock());
}

bool GShopListNode::hitTest(const CVector3d& point) {
    return ControlNode::hitTest(point) || m_elements.isHit(*this, point);
}

void GShopListNode::updateAbsoluteTransform() {
    ControlNode::updateAbsoluteTransform();
    m_elements.updateAbsoluteTransform();
}

void GShopListNode::updateAbsoluteColor() {
    ControlNode::updateAbsoluteColor();
    m_elements.updateAbsoluteColor();
}

// Copying and properties

void GShopListNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    ControlNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId)) {
        const auto& list = static_cast<const GShopListNode&>(source);
        m_topItem = list.m_topItem;
        m_items = list.m_items;
    }
    // The clone shows its items through elements of its own copy of the template.
    m_elements.bind(*this);
    if (m_elements.getTemplate() != nullptr) {
        createElements();
        refreshElements();
    }
}

void GShopListNode::saveProperties(CProperties& properties) const {
    ControlNode::saveProperties(properties);
    if (m_topItem != 0)
        properties.addInt("TopItem", m_topItem);
    if (m_items.size() != 0)
        properties.addStringArray("Strings", getStrings());
}

void GShopListNode::loadProperties(const CProperties& properties) {
    ControlNode::loadProperties(properties);
    // The items bound the window, so they come first.
    if (const int32_t strings = properties.indexOf("Strings"); strings >= 0)
        setStrings(getPropertyStringArray(properties.getValueAt(strings)));
    int32_t top = 0;
    if (loadPropertyIfPresent(properties, "TopItem", top))
        setTopItem(top);
}
