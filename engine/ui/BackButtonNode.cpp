#include "engine/ui/BackButtonNode.h"

#include "engine/scene/NodeEventHook.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"

const EventMap& BackButtonNode::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&BackButtonNode::OnButtonClicked>()};
    static const EventMap map = buildEventMap(ButtonNode::getEventMap(), own);
    return map;
}

bool BackButtonNode::OnButtonClicked(CEventControlClicked&) {
    SceneManager* manager = getSceneManager();
    SceneNode* top = manager != nullptr ? manager->getCurrentScene() : nullptr;
    if (top != nullptr)
        top->navigateBack(0, CNameId(CString("NavBackFrom")), CNameId(CString("NavBackTo")));
    return false;
}
