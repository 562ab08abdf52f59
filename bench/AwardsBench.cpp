// The awards gallery opened as the main menu opens it, until its first frame is drawn: the
// scene file handed out (a copy of the cached tree), the switch, the gallery's binding and the
// refresh of its 17 awards, and the frame. Set beside the same file opened as the engine's plain
// nodes (the game's classes not registered), so what the screen adds shows as the difference. The
// game runs as the tests run it: scripted window layer and Direct3D 9 runtime, OpenAL-soft on
// its null output.
#include <benchmark/benchmark.h>

#include "bench/EmptyScreen.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/SceneNode.h"
#include "game/app/AwardTracker.h"
#include "game/app/GameClassRegistration.h"
#include "tests/game/app/GameHarness.h"

namespace {

void openGallery(benchmark::State& state, bool gameClasses) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    if (gameClasses)
        registerGameClasses();
    // Some awards earned and seen, the rest not: every node gets a look.
    theApplication->getAwardTracker()->loadViewState(u"2;0;2;0;2;0;2;0;2;0;2;0;2;0;2;0;2");
    const CRefPointer<SceneNode> screen = openEmptyScreen(game);
    if (!screen) {
        state.SkipWithError("no templates");
        return;
    }
    timeOpeningOver(state, game, *screen, u"scenes/AwardsScene.qscn");
}

void AwardsGalleryPlain(benchmark::State& state) {
    openGallery(state, false);
}

void AwardsGalleryVantor(benchmark::State& state) {
    openGallery(state, true);
}

BENCHMARK(AwardsGalleryVantor)->Name("AwardsGalleryOpen/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(AwardsGalleryPlain)->Name("AwardsGalleryOpen/plain")->Unit(benchmark::kMillisecond);

} // namespace
