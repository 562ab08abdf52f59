#include <string>

#include <benchmark/benchmark.h>

#include "engine/core/String.h"

// Appending a short piece N times: the engine grows its buffer to the exact size every time,
// the standard string geometrically.
namespace {

const char16_t kPiece[] = u"piece;";

void appendVantor(benchmark::State& state) {
    const int64_t count = state.range(0);
    for (auto _ : state) {
        CStringW text;
        for (int64_t i = 0; i < count; ++i)
            text.append(kPiece);
        benchmark::DoNotOptimize(text.c_str());
    }
}

void appendStd(benchmark::State& state) {
    const int64_t count = state.range(0);
    for (auto _ : state) {
        std::u16string text;
        for (int64_t i = 0; i < count; ++i)
            text.append(kPiece);
        benchmark::DoNotOptimize(text.c_str());
    }
}

} // namespace

BENCHMARK(appendVantor)->Name("StringAppend/vantor")->Arg(16)->Arg(256)->Arg(4096);
BENCHMARK(appendStd)->Name("StringAppend/std")->Arg(16)->Arg(256)->Arg(4096);
