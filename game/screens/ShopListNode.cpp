#include "game/screens/ShopListNode.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/MathHelpers.h"
#include "engine/core/Properties.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/Utf.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/TemplateChild.h"

namespace {

constexpr uint32_t kIntervalMs = 30;

struct StringsTraits {
    static CArray<CStringW> read(const CPropertyData* value) {
        const auto* strings = castPropertyData<CPropertyDataStringWArray>(value);
        return strings ? strings->getValue() : CArray<CStringW>();
    }
    static CRefPointer<CPropertyData> make(const CArray<CStringW>& strings) {
        return makeStringArrayProperty(strings);
    }
};

// The child at the position when it is of the kind, else none.
template <typename Node>
Node* slotChild(BaseNode& element, uint32_t position) {
    BaseNode* child = position < element.getChildCount() ? element.getChild(position) : nullptr;
    return child != nullptr && child->isKindOf(Node::kTypeId) ? static_cast<Node*>(child) : nullptr;
}

} // namespace

GShopListNode::GShopListNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kIntervalMs);
    setFocusOnHover(true);
    CRefPointer<BaseNode> container(new BaseNode(CContentKey(), nullptr, nullptr));
    container->setInternal(true);
    // The attachment's reference is the list's; the creation reference goes with `container`.
    container->setParent(this);
    m_container = container.get();
}

GShopListNode::~GShopListNode() {
    BaseNode* container = m_container;
    m_container = nullptr;
    container->setParent(nullptr);
    container->release();
}

const PropertyTable& GShopListNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        ControlNode::classPropertyTable(),
        {
            accessorProperty<&GShopListNode::getTopItem, &GShopListNode::setTopItem>("TopItem"),
            accessorProperty<&GShopListNode::getStrings, &GShopListNode::setStrings, StringsTraits>(
                "Strings"),
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
    CArray<CStringW> strings;
    for (const ShopListItem& entry : m_items)
        strings.append(entry.texts.size() != 0 ? entry.texts[0] : CStringW());
    return strings;
}

void GShopListNode::setItemText(int32_t index, int32_t column, const CStringW& text) {
    ShopListItem* entry = item(index);
    if (entry == nullptr || column < 0)
        return;
    while (entry->texts.size() <= uint32_t(column))
        entry->texts.append(CStringW());
    entry->texts[uint32_t(column)] = text;
}

void GShopListNode::setItemImage(int32_t index, int32_t column, CAtlasTexture* image) {
    ShopListItem* entry = item(index);
    if (entry == nullptr || column < 0)
        return;
    while (entry->images.size() <= uint32_t(column))
        entry->images.append(CRefPointer<CAtlasTexture>());
    entry->images[uint32_t(column)] = CRefPointer<CAtlasTexture>::share(image);
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

BaseNode* GShopListNode::getElement(int32_t index) const {
    return index >= 0 && uint32_t(index) < getElementCount()
               ? m_container->getChild(uint32_t(index))
               : nullptr;
}

CVector3d GShopListNode::getElementPosition(int32_t index) const {
    const BaseNode* element = getElement(index);
    return element != nullptr ? element->getPosition() : CVector3d(0, 0, 0);
}

CVector2d GShopListNode::getElementSize() const {
    if (!m_elementTemplate)
        return CVector2d(0, 0);
    const CVector3d& bounds = m_elementTemplate->getBounds();
    return CVector2d(bounds.x, bounds.y);
}

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
    m_container->removeAllChildren();
    if (!m_elementTemplate)
        return;
    m_container->setScene(getSceneManager(), getScene());
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    for (uint32_t i = 0; i < count; ++i) {
        const CRefPointer<BaseNode> element = m_elementTemplate->clone(m_container, nullptr);
        element->setName(CNameId(CString("Element") + CString(int32_t(i))));
        element->setVisible(true);
        element->setCanBeHit(true);
    }
    layoutElements();
}

void GShopListNode::layoutElements() {
    if (!m_elementTemplate)
        return;
    const CVector3d origin = m_elementTemplate->getPosition();
    const float width = getElementSize().x;
    for (uint32_t i = 0; i < getElementCount(); ++i)
        m_container->getChild(i)->setPosition(origin + CVector3d(float(i) * width, 0, 0));
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
    // Texts and images are set without handlers running, straight from the item: nothing is
    // copied, and an unchanged text is not laid out again.
    const ShopListItem& entry = m_items[uint32_t(index)];
    for (uint32_t column = 0; column < m_textSlots.size(); ++column) {
        if (auto* text = slotChild<TextNode>(element, m_textSlots[column]))
            text->setText(column < entry.texts.size() ? entry.texts[column] : CStringW());
    }
    for (uint32_t column = 0; column < m_imageSlots.size(); ++column) {
        if (auto* sprite = slotChild<SpriteNode>(element, m_imageSlots[column]))
            sprite->setImage(column < entry.images.size() ? entry.images[column].get() : nullptr);
    }
    // A new look shows no condition until it is told.
    if (control != nullptr && (restyled || control->isEnabled() != entry.enabled))
        control->setEnabled(entry.enabled);
}

void GShopListNode::refreshElements() {
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    // Counts are read anew for each element: the handlers of what an element plays may change
    // the items or the elements.
    for (uint32_t i = 0; i < getElementCount(); ++i) {
        const CRefPointer<BaseNode> element =
            CRefPointer<BaseNode>::share(m_container->getChild(i));
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

void GShopListNode::findElementSlots() {
    m_textSlots.clear();
    m_imageSlots.clear();
    if (!m_elementTemplate)
        return;
    static const CNameId text(CString("Text"));
    static const CNameId image(CString("Image"));
    for (uint32_t i = 0; i < m_elementTemplate->getChildCount(); ++i) {
        const BaseNode* child = m_elementTemplate->getChild(i);
        if (child->getName() == text && child->isKindOf(TextNode::kTypeId))
            m_textSlots.append(i);
        else if (child->getName() == image && child->isKindOf(SpriteNode::kTypeId))
            m_imageSlots.append(i);
    }
}

void GShopListNode::bindTemplateChildren() {
    m_elementTemplate = holdTemplateChild<BaseNode>(*this, "Element");
    if (m_elementTemplate) {
        m_elementTemplate->setVisible(false);
        m_elementTemplate->setCanBeHit(false);
    }
    m_prevButton = holdTemplateChild<BaseNode>(*this, "PrevButton");
    m_nextButton = holdTemplateChild<BaseNode>(*this, "NextButton");
    findElementSlots();
}

void GShopListNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    const CRefPointer<GShopListNode> self = CRefPointer<GShopListNode>::share(this);
    ControlNode::applyTemplate();
    bindTemplateChildren();
    createElements();
    refreshElements();
}

// Drawing and transforms

void GShopListNode::collectDrawables(RenderList& list) {
    if (!isVisible())
        return;
    ControlNode::collectDrawables(list);
    m_container->collectDrawables(list);
    setScheduler(getSceneClock());
}

bool GShopListNode::hitTest(const CVector3d& point) {
    return ControlNode::hitTest(point) ||
           (isVisible() && canBeHit() && m_container->findHitNode(point) != nullptr);
}

void GShopListNode::updateAbsoluteTransform() {
    ControlNode::updateAbsoluteTransform();
    m_container->updateAbsoluteTransform();
}

void GShopListNode::updateAbsoluteColor() {
    ControlNode::updateAbsoluteColor();
    m_container->updateAbsoluteColor();
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
    bindTemplateChildren();
    if (m_elementTemplate) {
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
