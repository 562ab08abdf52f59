#include "engine/core/Random.h"

#include <benchmark/benchmark.h>

#include <random>

#include "engine/core/RefPointer.h"

namespace {

// One 32-bit draw per iteration, both twisters seeded alike.
void randomNextVantor(benchmark::State& state) {
    CRefPointer<CRandom> random(new CRandom);
    random->seed(5489);
    for (auto _ : state)
        benchmark::DoNotOptimize(random->next());
}

void randomNextStd(benchmark::State& state) {
    std::mt19937 random(5489);
    for (auto _ : state)
        benchmark::DoNotOptimize(random());
}

BENCHMARK(randomNextVantor)->Name("RandomNext/vantor/1");
BENCHMARK(randomNextStd)->Name("RandomNext/std/1");

} // namespace
