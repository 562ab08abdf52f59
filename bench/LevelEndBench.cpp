// The level's end on the in-level screen, from the level's finished event to the results'
// first frame: the progress booked and the profile file written, the results' scene file handed
// out, filled with the level's figures and switched to, and the frame (the level drawn under the
// results). Level 1 of the content is ended as soon as it shows, passed and on the player's
// furthest level, so every key is written; the awards start from nothing, so no pop-up comes
// first. Set beside the same file opened as the engine's plain nodes (the game's classes not
// registered) over an empty screen, so what the level's end adds shows as the difference. The
// game runs as the tests run it: scripted window layer and Direct3D 9 runtime, OpenAL-soft on its
// null output. Timed by the wall clock, as the profile is written to disk.
#include <benchmark/benchmark.h>

#include "bench/EmptyScreen.h"
#include "engine/io/ProfileManager.h"
#include "game/app/GameEvents.h"
#include "game/screens/GamePlayScene.h"
#include "game/screens/LevelCompletedScene.h"
#include "tests/game/level/LevelHarness.h"

namespace {

// The level loaded afresh and shown in a new in-level screen over the harness's stand-in, which
// is current; false when a step fails.
bool playLevelOne(LevelHarness& harness, CRefPointer<GGamePlayScene>& screen) {
    GGameLevelScene* level = harness.loadLevel(1);
    if (level == nullptr)
        return false;
    level->reset(false);
    CProfileParameters& player = harness.game.player();
    player.setInt("LevelIndex", 1);
    player.setInt("MaxUnlockedLevelIndex", 0);
    const CRefPointer<CContent> loaded =
        harness.content().load(contentType("snod"), u"scenes/GamePlayScene.qscn", true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr || !node->isKindOf(GGamePlayScene::kTypeId))
        return false;
    screen = CRefPointer<GGamePlayScene>::share(static_cast<GGamePlayScene*>(node));
    if (!screen->setLevel(level, harness.catalog()) ||
        !harness.screen().openScene(screen.get(), false, CNameId(), CNameId()))
        return false;
    harness.advance(60);
    return true;
}

void LevelEndVantor(benchmark::State& state) {
    LevelHarness harness;
    if (!harness.start() || !loadMenuTemplates(harness.game)) {
        state.SkipWithError("the game does not start");
        return;
    }
    harness.game.player().setBool("ShowTutorialOn", false);
    SceneManager& manager = *harness.game.application().getSceneManager();
    CRefPointer<GGamePlayScene> screen;
    for (auto _ : state) {
        state.PauseTiming();
        if (!playLevelOne(harness, screen)) {
            state.SkipWithError("level 1 does not show");
            return;
        }
        harness.game.direct3D().log.clear();
        state.ResumeTiming();
        const CRefPointer<CEvent> finished(new GLevelFinishedEvent(true));
        screen->OnEvent(*finished);
        // The switch is delivered on the next update, and the frame drawn after it.
        harness.game.advance(20);
        state.PauseTiming();
        SceneNode* results = manager.getCurrentScene();
        if (results == nullptr || !results->isKindOf(GLevelCompletedScene::kTypeId)) {
            state.SkipWithError("no results");
            return;
        }
        // Back to the stand-in, as a restart goes back to the loading screen.
        harness.advance(30);
        results->navigateBack(1, CNameId(), CNameId());
        harness.advance(30);
        screen = nullptr;
        state.ResumeTiming();
    }
}

void LevelEndPlain(benchmark::State& state) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    const CRefPointer<SceneNode> screen = openEmptyScreen(game);
    if (!screen) {
        state.SkipWithError("no templates");
        return;
    }
    timeOpeningOver(state, game, *screen, u"scenes/LevelCompletedScene.qscn");
}

BENCHMARK(LevelEndVantor)
    ->Name("LevelEndToResults/vantor")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LevelEndPlain)
    ->Name("LevelEndToResults/plain")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
