#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/Event.h"
#include "engine/core/RefPointer.h"
#include "engine/platform/InputEvents.h"
#include "game/app/BaseSceneNode.h"

class GGameLevelScene;

// The part of the gameplay screen that a level relies on, standing in for it in the tests: it
// holds the level's scene manager under its "Scene" and owns the level as its scene, credits
// the money of every money-earned event (4103) as the screen does once its effect is shown,
// answers the keys it is given, and notes every game event that reaches it with the tick it came
// in. A watcher ahead of the level notes too the events of the level's objects that the level keeps
// to itself.
class LevelStandInScreen : public NodeClass<LevelStandInScreen, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 990;
    static constexpr const char16_t* kTypeName = u"LevelStandInScreen";

    struct ReceivedEvent {
        uint32_t tick;
        uint32_t id;
        CRefPointer<CEvent> event;
    };

    LevelStandInScreen(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    bool OnEvent(CEvent& event) override;

    // Hangs the level's manager first under "Scene" and makes the level this screen's.
    void attach(GGameLevelScene& level, SceneManager& levelManager);

    // The tick that events arrive in now.
    uint32_t tick = 0;
    // The screen flies a money effect before it credits (2000 ms); otherwise it credits at once.
    bool flyMoneyEffects = false;
    std::vector<ReceivedEvent> events;
    // Answers the released keys as the gameplay screen does.
    std::function<void(const CEventInputKeyboard& key)> onKeyUp;

protected:
    ~LevelStandInScreen() override;

private:
    // A pre-receiver of the level: notes what passes and lets it go on.
    class Watcher : public CEventReceiver {
    public:
        explicit Watcher(LevelStandInScreen& screen) : m_screen(screen) {}
        bool OnEvent(CEvent& event) override;

    private:
        LevelStandInScreen& m_screen;
    };

    void note(CEvent& event);
    void detachWatcher();

    CRefPointer<GGameLevelScene> m_level;
    CRefPointer<Watcher> m_watcher;
};
