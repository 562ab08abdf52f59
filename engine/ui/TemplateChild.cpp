#include "engine/ui/TemplateChild.h"

#include "engine/core/NameId.h"
#include "engine/core/String.h"

BaseNode* findTemplateChild(const ControlNode& control, const char* name, uint32_t kind) {
    const ControlNode* root = control.getTemplateRoot();
    BaseNode* child = root != nullptr ? root->findChild(CNameId(CString(name)), 1) : nullptr;
    return child != nullptr && child->isKindOf(kind) ? child : nullptr;
}
