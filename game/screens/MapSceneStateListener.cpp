#include "game/screens/MapSceneStateListener.h"

#include "engine/core/NameId.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeEventHook.h"
#include "game/screens/MapScene.h"

GMapSceneStateListener::GMapSceneStateListener(GMapScene& map) : m_map(map) {}

const EventMap& GMapSceneStateListener::getEventMap() {
    static const EventMapEntry entries[] = {
        eventHook<&GMapSceneStateListener::OnStateFinished>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), entries);
    return map;
}

bool GMapSceneStateListener::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GMapSceneStateListener::OnStateFinished(CEventNodeStateFinished& finished) {
    const CNameId changeAct = nameOf("ChangeActBefore");
    if (m_levelButtons != nullptr && finished.getStateName() == changeAct &&
        finished.getState() != nullptr &&
        finished.getState() == m_levelButtons->findState(changeAct))
        m_map.refreshLevelButtons();
    return false;
}
