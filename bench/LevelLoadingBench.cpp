// The level-loading screen on the game's content set: level 1 loaded in a fresh game each time
// (the content manager would otherwise hand out what the last run cached), one step a tick,
// and the restart that comes back to the screen from the in-level screen. Reported: each
// step's work time, the longest step (the stall a player feels) and its number.
// Beside them: pugixml reading level 1's scene file and libpng decoding its largest picture,
// the floor, from the same bytes, so what the level's nodes add to the reading shows. The game
// runs as the tests run it: scripted window layer and Direct3D 9 runtime, OpenAL-soft on its
// null output.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "bench/EmptyScreen.h"
#include "bench/LibpngDecode.h"
#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/EngineServices.h"
#include "engine/io/ContentManager.h"
#include "engine/io/Dictionary.h"
#include "engine/io/IInputFile.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/io/ProfileParameters.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "game/app/GameClassRegistration.h"
#include "game/screens/LoadingLevelScene.h"
#include "tests/game/app/GameHarness.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kMaxSteps = 7;

// What the intro loads before a level can be chosen, and a plain scene to open the level from.
struct LoadingGame {
    GameHarness game;
    CRefPointer<SceneNode> opener;
    CRefPointer<GLoadingLevelScene> screen;

    bool start() {
        if (!game.start())
            return false;
        registerGameClasses();
        CContentManager& content = *game.application().getContentManager();
        if (const CRefPointer<CContent> pack =
                content.load(SoundPack::kContentType, u"sounds/SoundPack.xml", true))
            static_cast<SoundPack*>(pack.get())->addCuesTo(*game.engine().getSoundPlayer());
        CEngineServices::instance()->getDictionary()->readXml(
            game.engine().getFileSystem()->openXmlReader(u"strings/Dictionary.xml").get());
        if (!loadMenuTemplates(game))
            return false;
        game.player().setInt("LevelIndex", 1);
        opener = CRefPointer<SceneNode>(
            new SceneNode(CContentKey(&content, u"scenes/Plain.qscn"), nullptr, nullptr));
        manager().openScene(opener.get(), CNameId());
        game.advance(600);
        SceneNode* opened =
            opener->openSceneFile(u"scenes/LoadingLevelScene.qscn", false, CNameId(), CNameId());
        if (opened == nullptr || !opened->isKindOf(GLoadingLevelScene::kTypeId))
            return false;
        screen = CRefPointer<GLoadingLevelScene>::share(static_cast<GLoadingLevelScene*>(opened));
        return hold();
    }

    // Once the screen has arrived on its clock, the benchmark runs it instead.
    bool hold() {
        for (int ms = 0; ms < 2000 && screen->getScheduler() == nullptr; ms += 20)
            game.advance(20);
        if (screen->getScheduler() == nullptr)
            return false;
        screen->setScheduler(nullptr);
        return true;
    }

    // The work time of each step until the screen has left; a tick of more than 100 ms runs
    // exactly one step.
    std::vector<double> runSteps() {
        std::vector<double> times;
        while (times.size() < kMaxSteps && manager().getCurrentScene() == screen.get()) {
            const Clock::time_point start = Clock::now();
            screen->OnUpdate(GLoadingLevelScene::kStepGapMs + 1);
            times.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            game.advance(20);
        }
        return times;
    }

    // Loaded to the in-level screen, which arrives and opens its briefing; then back to the
    // loading screen as the in-level menu's restart goes.
    bool restart() {
        runSteps();
        game.advance(600);
        SceneNode* shown = manager().getCurrentScene();
        return shown != nullptr && shown != opener.get() &&
               shown->navigateBackToType(GLoadingLevelScene::kTypeId, CNameId(), CNameId()) &&
               hold();
    }

    SceneManager& manager() const { return *game.application().getSceneManager(); }
};

// Sums of each step's time and of the longest, over the runs.
struct StepTimes {
    std::vector<double> sums;
    double longestSum = 0;
    uint32_t longestStep = 0;

    void add(const std::vector<double>& times) {
        sums.resize(std::max(sums.size(), times.size()));
        double longest = 0;
        for (size_t i = 0; i < times.size(); ++i) {
            sums[i] += times[i];
            if (times[i] > longest) {
                longest = times[i];
                longestStep = uint32_t(i + 1);
            }
        }
        longestSum += longest;
    }
    void report(benchmark::State& state) const {
        const double runs = double(state.iterations());
        for (size_t i = 0; i < sums.size(); ++i)
            state.counters["step" + std::to_string(i + 1) + "_ms"] = sums[i] / runs;
        state.counters["longest_step_ms"] = longestSum / runs;
        state.counters["longest_step"] = longestStep;
    }
};

// Each run in a fresh game: level 1 loaded, and, when restarting, then restarted from its
// in-level screen as its menu does, which reuses the level loaded.
void measureLoading(benchmark::State& state, bool restart) {
    StepTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        LoadingGame loading;
        if (!loading.start()) {
            state.SkipWithError("the loading screen does not open");
            return;
        }
        if (restart && !loading.restart()) {
            state.SkipWithError("level 1 does not come back to its loading screen");
            return;
        }
        state.ResumeTiming();
        times.add(loading.runSteps());
        state.PauseTiming();
        loading.game.stop();
        state.ResumeTiming();
    }
    times.report(state);
}

void LevelOneLoading(benchmark::State& state) {
    measureLoading(state, false);
}

void LevelOneRestart(benchmark::State& state) {
    measureLoading(state, true);
}

// The bytes of a file of the game's content.
std::vector<uint8_t> contentBytes(GameHarness& game, const char16_t* name) {
    const CRefPointer<IInputFile> file = game.engine().getFileSystem()->openInputFile(name);
    std::vector<uint8_t> bytes(file ? size_t(file->getLength()) : 0);
    if (file)
        file->readBytes(bytes.data(), int32_t(bytes.size()));
    return bytes;
}

void LevelSceneFilePugixml(benchmark::State& state) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    const std::vector<uint8_t> bytes = contentBytes(game, u"levels/setting1/Level.qscn");
    for (auto _ : state) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(bytes.data(), bytes.size()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void LevelFloorLibpng(benchmark::State& state) {
    GameHarness game;
    if (!game.start()) {
        state.SkipWithError("the game does not start");
        return;
    }
    const std::vector<uint8_t> bytes = contentBytes(game, u"levels/setting1/images/Floor.png");
    if (bytes.empty()) {
        state.SkipWithError("no floor picture");
        return;
    }
    runLibpngDecode(state, bytes);
}

BENCHMARK(LevelOneLoading)->Name("LevelLoading/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(LevelOneRestart)->Name("LevelRestart/vantor")->Unit(benchmark::kMillisecond);
BENCHMARK(LevelSceneFilePugixml)->Name("LevelSceneFile/pugixml")->Unit(benchmark::kMillisecond);
BENCHMARK(LevelFloorLibpng)->Name("LevelFloorPicture/libpng")->Unit(benchmark::kMillisecond);

} // namespace
