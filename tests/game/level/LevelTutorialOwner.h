#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/RefPointer.h"
#include "game/screens/TutorialController.h"

class CXmlTextReader;
class LevelHarness;

// The gameplay screen's part in a level's tutorial, played on the harness's level and stand-in
// screen: the controller under the screen's "Scene" with the game's templates, a pre-receiver of
// the screen and of the level, the level in its tutorial queue mode holding the script; stepped
// with each frame's time and let go once it reports the end, when the level's queue runs on by
// itself again.
class LevelTutorialOwner {
public:
    explicit LevelTutorialOwner(LevelHarness& harness) : m_harness(harness) {}
    ~LevelTutorialOwner() { finish(); }
    LevelTutorialOwner(const LevelTutorialOwner&) = delete;
    LevelTutorialOwner& operator=(const LevelTutorialOwner&) = delete;

    // False when the controller got no script (no "TutorialWindow" template) or the file does
    // not open.
    bool start(CXmlTextReader& reader);
    bool startText(const std::string& script);
    bool startFile(const char16_t* name);
    // The controller's update; its end finishes the tutorial.
    void step(uint32_t elapsedMs);
    void finish();

    GTutorialController* controller() const { return m_controller.get(); }
    bool isRunning() const { return bool(m_controller); }
    // The action of the first hint, in file order.
    GTutorialAction* firstAction(uint32_t index = 0) const;
    // Every hint the controller showed, in order, from the first.
    std::vector<int32_t> shownHints;

private:
    LevelHarness& m_harness;
    CRefPointer<GTutorialController> m_controller;
};
