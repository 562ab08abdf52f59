#include "engine/core/Map.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Distinct keys in random order, the same for both maps.
std::vector<int32_t> shuffledKeys(int64_t count) {
    std::vector<int32_t> keys(static_cast<size_t>(count));
    std::mt19937 random(7);
    for (int32_t& key : keys)
        key = int32_t(random() >> 1);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::shuffle(keys.begin(), keys.end(), random);
    return keys;
}

void insertInto(CMap<int32_t, int32_t>& map, int32_t key) {
    map.insert(key, key);
}
void insertInto(std::map<int32_t, int32_t>& map, int32_t key) {
    map.emplace(key, key);
}

bool contains(CMap<int32_t, int32_t>& map, int32_t key) {
    return map.find(key) != map.end();
}
bool contains(std::map<int32_t, int32_t>& map, int32_t key) {
    return map.find(key) != map.end();
}

template <typename Map>
void mapFind(benchmark::State& state, int64_t count) {
    const std::vector<int32_t> keys = shuffledKeys(count);
    Map map;
    for (int32_t key : keys)
        insertInto(map, key);
    std::vector<int32_t> lookups = keys;
    std::shuffle(lookups.begin(), lookups.end(), std::mt19937(11));
    for (auto _ : state) {
        for (int32_t key : lookups)
            benchmark::DoNotOptimize(contains(map, key));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(lookups.size()));
}

// Each round builds a map from empty; tearing it down is part of the round for both maps.
template <typename Map>
void mapInsert(benchmark::State& state, int64_t count) {
    const std::vector<int32_t> keys = shuffledKeys(count);
    for (auto _ : state) {
        Map map;
        for (int32_t key : keys)
            insertInto(map, key);
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(keys.size()));
}

std::string nameOf(const char* caseAndImpl, int64_t count) {
    char name[64];
    std::snprintf(name, sizeof name, "%s/%lld", caseAndImpl, static_cast<long long>(count));
    return name;
}

void registerAll() {
    for (int64_t count : {1000, 10000, 100000}) {
        benchmark::RegisterBenchmark(nameOf("MapFind/vantor", count).c_str(),
                                     mapFind<CMap<int32_t, int32_t>>, count);
        benchmark::RegisterBenchmark(nameOf("MapFind/std", count).c_str(),
                                     mapFind<std::map<int32_t, int32_t>>, count);
        benchmark::RegisterBenchmark(nameOf("MapInsert/vantor", count).c_str(),
                                     mapInsert<CMap<int32_t, int32_t>>, count);
        benchmark::RegisterBenchmark(nameOf("MapInsert/std", count).c_str(),
                                     mapInsert<std::map<int32_t, int32_t>>, count);
    }
}

const bool registered = (registerAll(), true);

} // namespace
