#pragma once

#include <cstdint>

// Counts allocations during a benchmark's untimed pass: the program's operator new counts
// itself while counting is on, and a peer library's memory hook calls noteAllocation.
void startCountingAllocations();
// The allocations since the start; counting stops.
uint64_t stopCountingAllocations();
void noteAllocation();

// Allocations over that many ticks of a fresh run, after its first 30 (which start what the run
// keeps: each mover's first start, its first frames).
template <typename Run>
uint64_t allocationsOfARun(int ticks) {
    Run run;
    for (int i = 0; i < 30; ++i)
        run.tick();
    startCountingAllocations();
    for (int i = 0; i < ticks; ++i)
        run.tick();
    return stopCountingAllocations();
}
