#pragma once

#include <cstdint>

#include "engine/core/ScheduledObject.h"
#include "engine/platform/SystemFlowEvents.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/SceneNode.h"

class CEngine;
class CProfileManager;
class CProfileParameters;
class CSoundPlayer;

// The base of the game's full-screen scenes. It is ticked every 30 ms of its own clock from
// the end of its arrival to the start of its leaving, counting the time it has the focus; it
// turns the events a screen cares about into one hook each, which a screen overrides instead
// of writing an event map; and it plays "ButtonClick" and "ButtonOver" for buttons and list
// items. Every default hook answers false, so the event goes on: a screen that overrides a
// hook calls the base first to keep its sound.
class GBaseSceneNode : public NodeClass<GBaseSceneNode, SceneNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1100;
    static constexpr const char16_t* kTypeName = u"GBaseSceneNode";
    static constexpr uint32_t kTickMs = 30;

    GBaseSceneNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const EventMap& getEventMap();

    // Adds the milliseconds to the shown time while the scene has the focus; true.
    bool OnUpdate(uint32_t elapsedMs) override;
    // Milliseconds with the focus since the scene last arrived.
    uint32_t getShownTime() const { return m_shownTime; }

    virtual bool OnWindowFocus(CEventSystemFlowActivate&) { return false; }
    virtual bool OnApplicationClose(CEventSystemFlowDestroy&) { return false; }
    virtual bool OnMessageBoxResult(CEventMessageBoxResult&) { return false; }
    // Leaving: the tick stops at once. Arriving: the shown time starts again.
    virtual bool OnSceneSwitch(CEventSceneSwitchStarted& event);
    // Arrived: ticked on the clock of the scene that owns it.
    virtual bool OnSceneSwitchDone(CEventSceneSwitchFinished& event);
    virtual bool OnTabEvent48(CEvent&) { return false; }
    virtual bool OnTabEvent47(CEvent&) { return false; }
    virtual bool OnControlEvent62(CEventControlClickStarted&) { return false; }
    // "ButtonClick" when the clicked control is a button.
    virtual bool OnButtonPressed(CEventControlClicked& event);
    // "ButtonOver" when the hovered control is a button.
    virtual bool OnNodeHovered(CEventControlHovered& event);
    virtual bool OnNodeUnhovered(CEventControlUnhovered&) { return false; }
    virtual bool OnControlEvent58(CEventControlFocused&) { return false; }
    virtual bool OnControlEvent60(CEventControlUnfocused&) { return false; }
    // A slider, check box, edit field or list whose value the user changed: the event's node.
    virtual bool OnValueChanged(CEventNode&) { return false; }
    // The list is the event's node. "ButtonClick".
    virtual bool OnListItemPressed(CEventNode& event);
    // "ButtonOver".
    virtual bool OnListItemHovered(CEventNode& event);

protected:
    ~GBaseSceneNode() override = default;

    // The engine that made the scene's manager; before the scene is in a manager (a screen
    // handed its level by the loading screen) the menus' manager's.
    CEngine* getEngine() const;
    // None without an engine.
    CProfileManager* getProfiles() const;
    // The active profile; none without one.
    CProfileParameters* currentPlayer() const;
    CSoundPlayer* getSoundPlayer() const;
    // Not exclusive: with the group's default fade-in.
    void playCue(const char* name, bool exclusive = false) const;

private:
    uint32_t m_shownTime = 0;
};
