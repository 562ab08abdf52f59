#pragma once

#include "engine/core/EventReceiver.h"
#include "engine/scene/NodeEvents.h"

class BaseNode;
class GMapScene;

// Sits before the map's "LevelButtons" node: when the node's "ChangeActBefore" has played
// (the old act's buttons gone), the map fills the page of the new act.
class GMapSceneStateListener : public CEventReceiver {
public:
    // The map owns the listener and outlives its attachment.
    explicit GMapSceneStateListener(GMapScene& map);

    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    // Never handled: the node's own handling goes on.
    bool OnStateFinished(CEventNodeStateFinished& event);

    // The node whose states count; none until the map has bound it.
    void setLevelButtonsNode(BaseNode* node) { m_levelButtons = node; }

protected:
    ~GMapSceneStateListener() override = default;

private:
    GMapScene& m_map;
    BaseNode* m_levelButtons = nullptr;
};
