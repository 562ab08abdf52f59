#pragma once

#include <cstdint>

#include "engine/platform/InputEvents.h"
#include "engine/scene/NodeClass.h"
#include "engine/ui/ControlKeys.h"
#include "game/app/BaseSceneNode.h"
#include "game/screens/SceneChildren.h"

// A page of a menu that its "BackButton", Escape and Enter leave, the menu sliding back in (the
// credits, the awards gallery, the help). The page class names itself as Derived, as with
// NodeClass.
template <typename Derived>
class GMenuPageScene : public NodeClass<Derived, GBaseSceneNode> {
public:
    using NodeClass<Derived, GBaseSceneNode>::NodeClass;

    bool OnButtonPressed(CEventControlClicked& event) override {
        if (GBaseSceneNode::OnButtonPressed(event))
            return true;
        const BaseNode* control = event.getNode();
        if (control == nullptr || control->getName() != nameOf("BackButton"))
            return false;
        goBack();
        return true;
    }

    bool OnKeyUp(CEventInputKeyUp& event) override {
        if (GBaseSceneNode::OnKeyUp(event))
            return true;
        const uint32_t key = event.getVirtualKey();
        if (key != kKeyEscape && key != kKeyEnter)
            return false;
        goBack();
        return true;
    }

protected:
    ~GMenuPageScene() override = default;

private:
    void goBack() { this->navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackToSlide")); }
};
