#include "engine/ui/MessageBoxNode.h"

#include "engine/scene/NodeEventHook.h"
#include "engine/ui/TemplateChild.h"

const EventMap& MessageBoxNode::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&MessageBoxNode::OnButtonClicked>()};
    static const EventMap map = buildEventMap(SceneNode::getEventMap(), own);
    return map;
}

CRefPointer<MessageBoxBaseNode> MessageBoxNode::create() {
    return CRefPointer<MessageBoxBaseNode>(new MessageBoxNode(CContentKey(), nullptr, nullptr));
}

void MessageBoxNode::setTitleText(const CStringW& title) {
    MessageBoxBaseNode::setTitleText(title);
    if (m_titleChild)
        m_titleChild->setText(title);
}

void MessageBoxNode::setBodyText(const CStringW& body) {
    MessageBoxBaseNode::setBodyText(body);
    if (m_bodyChild)
        m_bodyChild->setText(body);
}

void MessageBoxNode::setButtonTexts(const CArray<CStringW>& texts) {
    MessageBoxBaseNode::setButtonTexts(texts);
    showButtonTexts();
}

// Buttons beyond the texts get empty captions.
void MessageBoxNode::showButtonTexts() {
    const CArray<CStringW>& texts = getButtonTexts();
    for (uint32_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setText(i < texts.size() ? texts[i] : CStringW());
}

void MessageBoxNode::bindTemplateChildren() {
    m_titleChild = holdTemplateChild<TextNode>(*this, "TitleText");
    m_bodyChild = holdTemplateChild<TextNode>(*this, "BodyText");
    m_buttons.clear();
    const ControlNode* root = getTemplateRoot();
    const CNameId button(CString("Button"));
    for (uint32_t i = 0; root != nullptr && i < root->getChildCount(); ++i) {
        BaseNode* child = root->getChild(i);
        if (child->getName() == button && child->isKindOf(ButtonNode::kTypeId))
            m_buttons.append(CRefPointer<ButtonNode>::share(static_cast<ButtonNode*>(child)));
    }
}

void MessageBoxNode::applyTemplate() {
    if (getSceneManager() == nullptr)
        return;
    ControlNode::applyTemplate();
    bindTemplateChildren();
    setTitleText(getTitleText());
    setBodyText(getBodyText());
    showButtonTexts();
}

bool MessageBoxNode::OnButtonClicked(CEventControlClicked& event) {
    for (uint32_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].get() == event.getNode()) {
            setResult(int32_t(i));
            navigateBack(0, CNameId(CString("NavBackFrom")), CNameId(CString("NavBackTo")));
            return true;
        }
    }
    return false;
}

bool MessageBoxNode::sendToChildren(int32_t mode, CEvent& event) {
    if (ControlNode::sendToChildren(mode, event))
        return true;
    if (!mayOfferToTemplate(*this, event))
        return false;
    const CRefPointer<MessageBoxNode> self = CRefPointer<MessageBoxNode>::share(this);
    const CArray<CRefPointer<ButtonNode>> buttons = m_buttons;
    for (const CRefPointer<ButtonNode>& button : buttons) {
        if (offerEvent(button.get(), mode, event))
            return true;
    }
    return false;
}
