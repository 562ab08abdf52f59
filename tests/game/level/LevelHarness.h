#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "game/level/GameLevelScene.h"
#include "tests/game/app/GameHarness.h"
#include "tests/game/level/LevelStandInScreen.h"

class CContentManager;
class IHostWindowSystem;
class SceneManager;
class SoundCue;
class UpgradeCatalog;

// What a level did, tick by tick: the game events that reached the screen and the sound cues
// started. Tick 1 is the level's first.
struct LevelTrace {
    struct Cue {
        uint32_t tick;
        std::string name;
    };

    std::vector<LevelStandInScreen::ReceivedEvent> events;
    std::vector<Cue> cues;

    // The ticks in which events of that id arrived, in order.
    std::vector<uint32_t> eventTicks(uint32_t id) const;
    // The ticks in which the cue started, in order.
    std::vector<uint32_t> cueTicks(const std::string& name) const;
    // The events of that id, in order.
    template <typename Event>
    std::vector<const Event*> eventsOf() const {
        std::vector<const Event*> found;
        for (const auto& received : events) {
            if (received.id == Event::Id)
                found.push_back(static_cast<const Event*>(received.event.get()));
        }
        return found;
    }
};

// How a run of a level ended.
struct LevelRun {
    LevelTrace trace;
    // The ticks the run took.
    uint32_t ticks = 0;
    // The level finished (4096) within the tick limit, and whether it was passed.
    bool finished = false;
    bool passed = false;
    float money[GGameLevelScene::kMoneyComponents] = {};
    float heartsTotal = 0;
    int32_t servedClients = 0;
    int32_t lostClients = 0;
};

// A level played in the game inside the test process, as the screens will play it, and the
// seam of every level test. start() starts the game once (with an extra content folder whose
// files win over the archive) and loads what the intro loads; loadLevel() then makes the calls
// of the level-loading and gameplay screens for the player's level, in their order, with a
// stand-in for the gameplay screen; the level can be loaded again and again in one started
// game. Time moves in 20 ms frames, each one tick of the level, and the sound mix is rendered
// in step, so that cues end when a player would hear them end.
class LevelHarness {
public:
    LevelHarness() = default;
    LevelHarness(const LevelHarness&) = delete;
    LevelHarness& operator=(const LevelHarness&) = delete;

    // A file of the extra content folder, written before start().
    void write(const std::string& file, const std::string& text);
    bool start();
    void stop();

    // The level of that number for a player of that difficulty (0 hard, 1 easy): the
    // configuration read again, the level's upgrades applied, its templates, scene and walk
    // grid loaded, then the level opened in the stand-in screen, reset, played, upgraded and
    // laid out. None when a step fails. The award progress starts from nothing.
    GGameLevelScene* loadLevel(int32_t levelIndex = 1, int32_t difficulty = 1);

    // Runs that many 20 ms frames.
    void advance(uint32_t frames);
    // Runs until the level has finished (a new 4096 arrived) or the limit has passed.
    LevelRun run(uint32_t tickLimit);

    // The player's mouse on the level, through the game's window, at the window point of a
    // node: the middle of the first of its parts that the pointer hits there.
    void setDragViaClick(bool on);
    CVector3d pointOf(const BaseNode& node) const;
    void moveTo(const BaseNode& node);
    void press(const BaseNode& node);
    void release(const BaseNode& node);
    void click(const BaseNode& node);
    void rightClick();
    // A key typed with Control held. In the developer mode Control+S saves the level to the
    // user data folder's "save.dat" and Control+L loads the level again and restores it from
    // there, as the gameplay screen does.
    void typeWithControl(uint32_t virtualKey);
    // Where "save.dat" is written.
    CStringW userDataFolder() const;
    // The node of that name in the level, or none.
    BaseNode* node(const char* name) const;
    // The hearts flying on magnets in the level's effects holder.
    uint32_t flyingHearts() const;
    // A scripted player, called before every frame with the frame's tick.
    std::function<void(uint32_t tick)> player;
    // The window layer the mouse goes through when the game runs on another than the
    // harness's scripted one (SDL's, for pictures); each message is delivered at once.
    IHostWindowSystem* inputHost = nullptr;

    GGameLevelScene& level() const { return *m_level; }
    LevelStandInScreen& screen() const { return *m_screen; }
    UpgradeCatalog* catalog() const { return m_catalog; }
    const LevelTrace& trace();
    uint32_t tick() const { return m_tick; }
    SceneManager& levelManager() const;
    CContentManager& content() const;

    GameHarness game;
    // Render the loopback mix after each frame; off for a game on real OpenAL output.
    bool renderSound = true;
    // The screen arms the client queue only for a level without a tutorial, whose actions let
    // the clients come.
    bool armClientQueue = true;

private:
    bool loadConfiguration(int32_t levelIndex, int32_t difficulty);
    bool loadScene();
    void playLevel();
    void answerKeyUp(const CEventInputKeyboard& key);
    void recordCues();
    void post(uint32_t message, const CVector3d& at);

    CRefPointer<LevelStandInScreen> m_screen;
    CRefPointer<GGameLevelScene> m_level;
    CRefPointer<GLevelConfig> m_config;
    UpgradeCatalog* m_catalog = nullptr;
    LevelTrace m_trace;
    std::vector<CRefPointer<SoundCue>> m_playing;
    uint32_t m_tick = 0;
    int32_t m_levelIndex = 1;
    int32_t m_difficulty = 1;
    bool m_restartAsked = false;
};
