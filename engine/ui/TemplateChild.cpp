#include "engine/ui/TemplateChild.h"

#include "engine/core/NameId.h"
#include "engine/core/String.h"

BaseNode* findTemplateChild(const ControlNode& control, const char* name, uint32_t kind) {
    const ControlNode* root = control.getTemplateRoot();
    BaseNode* child = root != nullptr ? root->findChild(CNameId(CString(name)), 1) : nullptr;
    return child != nullptr && child->isKindOf(kind) ? child : nullptr;
}

bool mayOfferToTemplate(const ControlNode& control, const CEvent& event) {
    return (control.isEnabled() && control.isVisible()) || !event.isKindOf(CEventInput::Id);
}

bool offerEvent(BaseNode* node, int32_t mode, CEvent& event) {
    if (node == nullptr || (node->getCategoryMask() & event.getCategory()) == 0)
        return false;
    const CRefPointer<BaseNode> held = CRefPointer<BaseNode>::share(node);
    return held->deliver(mode, event);
}
