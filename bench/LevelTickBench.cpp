// The level's tick through the test harness, on the tests' client fixture (setting 3).
// The spawn of a group of three: the records built (three clients cloned from their template
// and set up) and the tick in which the group enters the queue, beside the thresholds above
// which the level logs slow work (10 ms for a client's set-up, 20 ms for its heart icons).
// Times are real milliseconds of a Release build; a fresh level is loaded, untimed, before
// each spawn.
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "bench/ClientFixtureHarness.h"
#include "engine/scene/SceneManager.h"

namespace {

std::unique_ptr<LevelHarness> startedHarness() {
    return startedClientFixture("<LevelsConfiguration><Level><SettingIndex Value=\"3\"/>"
                                "<LevelTime Value=\"600\"/><ClientsQueue><Pair CI=\"Dancer\">"
                                "<Client><Order Res=\"Dance\"/></Client><Client><Order "
                                "Res=\"Dance\"/></Client><Client><Order Res=\"Dance\"/>"
                                "</Client></Pair></ClientsQueue></Level></LevelsConfiguration>");
}

void BM_SpawnGroupOfThree(benchmark::State& state) {
    const std::unique_ptr<LevelHarness> harness = startedHarness();
    if (!harness) {
        state.SkipWithError("the harness did not start");
        return;
    }
    double build = 0;
    double enter = 0;
    for (auto _ : state) {
        state.PauseTiming();
        GGameLevelScene* level = harness->loadLevel(1, 0);
        TemplateCollectionNode* collection = harness->levelManager().getTemplateCollection();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        level->spawnQueuedClients(level->getLevelConfig()->clientsQueue, collection);
        build += millisecondsSince(start);
        level->armClientQueue();
        start = std::chrono::steady_clock::now();
        harness->advance(1);
        enter += millisecondsSince(start);
        if (level->findClient(CNameId(CString("1_3"))) == nullptr) {
            state.SkipWithError("the group did not enter");
            return;
        }
    }
    const double runs = double(state.iterations());
    state.counters["build_ms"] = build / runs;
    state.counters["enter_tick_ms"] = enter / runs;
    state.counters["of_10ms"] = build / runs / 10;
    state.counters["of_20ms"] = enter / runs / 20;
}

BENCHMARK(BM_SpawnGroupOfThree)->Name("LevelTick/vantor/spawn3")->Unit(benchmark::kMillisecond);

} // namespace
