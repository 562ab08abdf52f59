#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/scene/MessageBoxBaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"
#include "engine/ui/ButtonNode.h"

// The message box the scene manager opens over a scene: its template's "TitleText" and
// "BodyText" show the title and the body, and its buttons (the template's direct children
// named "Button" that are buttons, in child order) the captions. A click on one of them
// keeps its index as the result and sends the box back; once the box has left, the scene
// under it gets the result as event 45. Only the scene manager makes boxes.
class MessageBoxNode : public NodeClass<MessageBoxNode, MessageBoxBaseNode> {
public:
    using NodeClass::NodeClass;

    static const EventMap& getEventMap();
    // What the scene manager makes its boxes with.
    static CRefPointer<MessageBoxBaseNode> create();

    // Binds the text nodes and the buttons, then shows the texts in them.
    void applyTemplate() override;
    // Input the box's own children leave goes to its buttons.
    bool sendToChildren(int32_t mode, CEvent& event) override;
    void setButtonTexts(const CArray<CStringW>& texts) override;
    void setTitleText(const CStringW& title) override;
    void setBodyText(const CStringW& body) override;

    // Handled only for the box's own buttons.
    virtual bool OnButtonClicked(CEventControlClicked& event);

    const CArray<CRefPointer<ButtonNode>>& getButtons() const { return m_buttons; }

protected:
    ~MessageBoxNode() override = default;

private:
    void bindTemplateChildren();
    void showButtonTexts();

    CRefPointer<TextNode> m_titleChild;
    CRefPointer<TextNode> m_bodyChild;
    CArray<CRefPointer<ButtonNode>> m_buttons;
};
