#pragma once

#include <cstdint>

#include "engine/core/ScheduledObject.h"
#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/SceneEvents.h"
#include "engine/scene/SceneNode.h"
#include "game/level/ClientNode.h"
#include "game/level/ObjectLink.h"

// The frame of a mini-game: a scene of its own, opened over the level for one client, played
// with a click or a few, and closed by going back to the scene it was opened from. It keeps the
// client and the result, ticks every 20 ms only while it is the current scene, and offers a
// left press to the game before its children see it.
//
// Whoever opens a mini-game calls start once after opening it, and reads the result (and, for
// the drink game, the chosen value) once it has closed.
class GMiniGameScene : public NodeClass<GMiniGameScene, SceneNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 1142;
    static constexpr const char16_t* kTypeName = u"GMiniGameScene";
    static constexpr uint32_t kTickMs = 20;

    struct StartParameters {
        // The record of the game's configuration table; past its end the game's defaults.
        int32_t configurationIndex = 0;
        GClientNode* client = nullptr;
    };

    GMiniGameScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const EventMap& getEventMap();
    // The frame alone is no game.
    CRefPointer<BaseNode> clone(BaseNode*, SceneManager*) const override { return nullptr; }

    // Keeps the client; each game then sets itself up.
    virtual void start(const StartParameters& parameters);
    // Arriving, the tick moves to the clock of the scene that owns the game; leaving, it stops.
    virtual bool OnSceneSwitch(CEventSceneSwitchStarted& event);
    // True when the clicked node was one of the game's.
    virtual bool OnButtonPressed(CEventControlClicked&) { return false; }
    // True consumes the press; false lets it go on to the scene's children.
    virtual bool OnMouseLeftDown(CEventInputMouseLeftDown&) { return false; }
    // The game's timed behaviour; true.
    virtual bool tick(uint32_t) { return true; }

    // Ticks the game until it closes.
    bool OnUpdate(uint32_t elapsedMs) final;
    bool sendToChildren(int32_t mode, CEvent& event) override;

    // None once the client has gone.
    GClientNode* getClient() const { return m_client.get(); }
    // 1 when the player won, hit or chose, 0 otherwise.
    int32_t getResult() const { return m_result; }
    // The drink game's chosen value; 0 in the others.
    int32_t getChosenValue() const { return m_chosenValue; }
    bool isClosed() const { return m_closed; }

protected:
    ~GMiniGameScene() override;

    // Back to the scene the game was opened from, once: from then on the game ignores its
    // ticks and clicks. False when already closed or the scene manager refuses now.
    bool close();
    void setResult(int32_t result) { m_result = result; }
    void setChosenValue(int32_t value) { m_chosenValue = value; }
    // The direct child of that name; none without a parent or child.
    static BaseNode* childNamed(const BaseNode* parent, const char* name);

private:
    bool onButtonPressed(CEventControlClicked& event);

    GObjectRef<GClientNode> m_client;
    int32_t m_result = 0;
    int32_t m_chosenValue = 0;
    bool m_closed = false;
};
