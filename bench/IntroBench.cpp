// The intro's staged loading on the game's content set: the eleven steps run one after another
// in a fresh game each time (the content manager would otherwise hand out what the last run
// cached). Reported: the whole loading and its longest step (the longest stall a player sees)
// with the step's number.
// The longest step, the main menu's atlas, is set beside libpng decoding the atlas's page from
// the same bytes, so what the atlas adds to the decoding shows as the difference. The game runs
// as the tests run it: scripted window layer and Direct3D 9 runtime, OpenAL-soft on its null
// output.
#include <chrono>
#include <cstdint>

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/LibpngDecode.h"
#include "engine/core/Engine.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFileSystem.h"

#include "engine/io/ContentManager.h"
#include "engine/scene/SceneManager.h"
#include "game/app/IntroScene.h"
#include "tests/game/app/GameHarness.h"

namespace {

// Opens the intro in place of the logos; none when the content lacks it.
GIntroScene* openIntro(GameHarness& game) {
    const CRefPointer<CContent> loaded = game.application().getContentManager()->load(
        contentType("snod"), u"scenes/IntroScene.qscn", true);
    auto* node = static_cast<BaseNode*>(loaded.get());
    if (node == nullptr || !node->isKindOf(GIntroScene::kTypeId))
        return nullptr;
    auto* intro = static_cast<GIntroScene*>(node);
    game.application().getSceneManager()->openScene(intro, CNameId());
    return intro;
}

void IntroStagedLoading(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    double longestSum = 0;
    double longestStep = 0;
    for (auto _ : state) {
        state.PauseTiming();
        GameHarness game;
        if (!game.start()) {
            state.SkipWithError("the game does not start");
            return;
        }
        GIntroScene* intro = openIntro(game);
        if (intro == nullptr) {
            state.SkipWithError("no intro scene");
            return;
        }
        state.ResumeTiming();
        double longestMs = 0;
        // A tick of more than 100 ms runs exactly one step.
        for (uint32_t step = 1; step <= GIntroScene::kStepCount; ++step) {
            const Clock::time_point start = Clock::now();
            intro->OnUpdate(GIntroScene::kStepGapMs + 1);
            const double ms =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (ms > longestMs) {
                longestMs = ms;
                longestStep = step;
            }
        }
        longestSum += longestMs;
        state.PauseTiming();
        game.stop();
        state.ResumeTiming();
    }
    // Averaged over the runs.
    state.counters["longest_step_ms"] = longestSum / double(state.iterations());
    state.counters["longest_step"] = longestStep;
}

// The collection loaded in a fresh game each run, as the intro's fifth step loads it.
void MainMenuAtlasVantor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        GameHarness game;
        if (!game.start()) {
            state.SkipWithError("the game does not start");
            return;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(game.application().getContentManager()->load(
            contentType("atxc"), u"atlases/MainMenu.xml", true));
        state.PauseTiming();
        game.stop();
        state.ResumeTiming();
    }
}

void MainMenuAtlasLibpng(benchmark::State& state) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    const CRefPointer<IInputFile> file =
        game.engine().getFileSystem()->openInputFile(u"atlases/MainMenu0.png");
    if (!file) {
        state.SkipWithError("no atlas page");
        return;
    }
    std::vector<uint8_t> bytes(size_t(file->getLength()));
    file->readBytes(bytes.data(), int32_t(bytes.size()));
    runLibpngDecode(state, bytes);
}

BENCHMARK(IntroStagedLoading)->Name("IntroStagedLoading/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(MainMenuAtlasVantor)->Name("IntroMainMenuAtlas/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(MainMenuAtlasLibpng)->Name("IntroMainMenuAtlas/libpng")->Unit(benchmark::kMillisecond);

} // namespace
