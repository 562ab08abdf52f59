#include "engine/core/EventReceiver.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t kMappedEvents = 20;
constexpr uint32_t kFirstId = 4096;

// An event whose type id is chosen at run time, so one class covers every mapped id.
struct BenchEvent : CEvent {
    explicit BenchEvent(uint32_t id) : CEvent(CategoryGame), id(id) {}
    uint32_t getTypeId() const override { return id; }
    uint32_t id;
};

struct BenchReceiver : CEventReceiver {
    bool OnEvent(CEvent& event) override { return dispatchThroughEventMap(getEventMap(), event); }

    static const EventMap& getEventMap() {
        static const EventMap map = [] {
            EventMapEntry own[kMappedEvents];
            for (uint32_t i = 0; i < kMappedEvents; ++i)
                own[i] = {kFirstId + i, &eventHandler<BenchReceiver, &BenchReceiver::onEvent>};
            return buildEventMap(CEventReceiver::getEventMap(), own);
        }();
        return map;
    }

    bool onEvent(CEvent&) {
        ++handled;
        return false;
    }

    uint64_t handled = 0;
};

// Routed as the engine routes its events (the receiver, then its children), cycling through
// every mapped id.
void deliverThroughEventMap(benchmark::State& state) {
    BenchReceiver receiver;
    std::vector<BenchEvent> events;
    for (uint32_t i = 0; i < kMappedEvents; ++i)
        events.emplace_back(kFirstId + i);
    uint32_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            receiver.deliver(CEventReceiver::RouteSelfThenChildren, events[next]));
        next = next + 1 == kMappedEvents ? 0 : next + 1;
    }
    benchmark::DoNotOptimize(receiver.handled);
}

BENCHMARK(deliverThroughEventMap)->Name("EventDeliver/vantor/20");

} // namespace
