#pragma once

#include "engine/core/NameId.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/SceneNode.h"

// A pop-up closes with its "BackButton", going back one step to the screen it was opened over;
// true when the press was that button's.
inline bool closeOnBackButton(SceneNode& popUp, CEventControlClicked& event) {
    const BaseNode* control = event.getNode();
    if (control == nullptr || control->getName() != nameOf("BackButton"))
        return false;
    popUp.navigateBack(0, nameOf("NavBackFrom"), nameOf("NavBackTo"));
    return true;
}
