#include "engine/ui/ListElements.h"

#include "engine/core/PropertyDataStrings.h"
#include "engine/scene/SpriteNode.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/TemplateChild.h"

namespace {

// The child at the position when it is of the kind, else none.
template <typename Node>
Node* slotChild(BaseNode& element, uint32_t position) {
    BaseNode* child = position < element.getChildCount() ? element.getChild(position) : nullptr;
    return child != nullptr && child->isKindOf(Node::kTypeId) ? static_cast<Node*>(child) : nullptr;
}

} // namespace

CListElements::CListElements(BaseNode& owner) {
    CRefPointer<BaseNode> container(new BaseNode(CContentKey(), nullptr, nullptr));
    container->setInternal(true);
    // The attachment's reference is the owner's; the creation reference goes with `container`.
    container->setParent(&owner);
    m_container = container.get();
}

CListElements::~CListElements() {
    BaseNode* container = m_container;
    m_container = nullptr;
    container->setParent(nullptr);
    container->release();
}

CArray<CStringW> CListElements::StringsTraits::read(const CPropertyData* value) {
    const auto* strings = castPropertyData<CPropertyDataStringWArray>(value);
    return strings ? strings->getValue() : CArray<CStringW>();
}

CRefPointer<CPropertyData> CListElements::StringsTraits::make(const CArray<CStringW>& strings) {
    return makeStringArrayProperty(strings);
}

// Template

void CListElements::bind(const ControlNode& owner) {
    m_template = holdTemplateChild<BaseNode>(owner, "Element");
    if (m_template) {
        m_template->setVisible(false);
        m_template->setCanBeHit(false);
    }
    m_prevButton = holdTemplateChild<BaseNode>(owner, "PrevButton");
    m_nextButton = holdTemplateChild<BaseNode>(owner, "NextButton");
    findSlots();
}

void CListElements::findSlots() {
    m_textSlots.clear();
    m_imageSlots.clear();
    if (!m_template)
        return;
    static const CNameId text(CString("Text"));
    static const CNameId image(CString("Image"));
    for (uint32_t i = 0; i < m_template->getChildCount(); ++i) {
        const BaseNode* child = m_template->getChild(i);
        if (child->getName() == text && child->isKindOf(TextNode::kTypeId))
            m_textSlots.append(i);
        else if (child->getName() == image && child->isKindOf(SpriteNode::kTypeId))
            m_imageSlots.append(i);
    }
}

CVector2d CListElements::getSize() const {
    if (!m_template)
        return CVector2d(0, 0);
    const CVector3d& bounds = m_template->getBounds();
    return CVector2d(bounds.x, bounds.y);
}

// Elements

void CListElements::make(BaseNode& owner, uint32_t count) {
    m_container->removeAllChildren();
    if (!m_template)
        return;
    m_container->setScene(owner.getSceneManager(), owner.getScene());
    const CRefPointer<BaseNode> keep = CRefPointer<BaseNode>::share(&owner);
    for (uint32_t i = 0; i < count; ++i) {
        const CRefPointer<BaseNode> element = m_template->clone(m_container, nullptr);
        element->setName(CNameId(CString("Element") + CString(int32_t(i))));
        element->setVisible(true);
        element->setCanBeHit(true);
    }
}

BaseNode* CListElements::get(int32_t index) const {
    return index >= 0 && uint32_t(index) < getCount() ? m_container->getChild(uint32_t(index))
                                                      : nullptr;
}

CVector3d CListElements::getPosition(int32_t index) const {
    const BaseNode* element = get(index);
    return element != nullptr ? element->getPosition() : CVector3d(0, 0, 0);
}

int32_t CListElements::find(const BaseNode* node) const {
    for (uint32_t i = 0; i < getCount(); ++i) {
        if (m_container->getChild(i) == node)
            return int32_t(i);
    }
    return -1;
}

// Texts and images are set without handlers running, straight from the columns: nothing is
// copied, and an unchanged text is not laid out again.
void CListElements::fillSlots(BaseNode& element, const CArray<CStringW>& texts,
                              const CArray<CRefPointer<CAtlasTexture>>& images) const {
    for (uint32_t column = 0; column < m_textSlots.size(); ++column) {
        if (auto* text = slotChild<TextNode>(element, m_textSlots[column]))
            text->setText(column < texts.size() ? texts[column] : CStringW());
    }
    for (uint32_t column = 0; column < m_imageSlots.size(); ++column) {
        if (auto* sprite = slotChild<SpriteNode>(element, m_imageSlots[column]))
            sprite->setImage(column < images.size() ? images[column].get() : nullptr);
    }
}

// Drawing, hits, transforms and events

void CListElements::collectDrawables(RenderList& list) {
    m_container->collectDrawables(list);
}

bool CListElements::isHit(const BaseNode& owner, const CVector3d& point) {
    return owner.isVisible() && owner.canBeHit() && m_container->findHitNode(point) != nullptr;
}

void CListElements::updateAbsoluteTransform() {
    m_container->updateAbsoluteTransform();
}

void CListElements::updateAbsoluteColor() {
    m_container->updateAbsoluteColor();
}

bool CListElements::offer(ControlNode& owner, int32_t mode, CEvent& event, BaseNode* other) {
    if (!mayOfferToTemplate(owner, event))
        return false;
    const CRefPointer<BaseNode> keep = CRefPointer<BaseNode>::share(&owner);
    if (offerEvent(m_prevButton.get(), mode, event) ||
        offerEvent(m_nextButton.get(), mode, event) || offerEvent(other, mode, event))
        return true;
    for (uint32_t i = 0; i < getCount(); ++i) {
        if (offerEvent(m_container->getChild(i), mode, event))
            return true;
    }
    return false;
}
