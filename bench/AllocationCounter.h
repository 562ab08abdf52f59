#pragma once

#include <cstdint>

// Counts allocations during a benchmark's untimed pass: the program's operator new counts
// itself while counting is on, and a peer library's memory hook calls noteAllocation.
void startCountingAllocations();
// The allocations since the start; counting stops.
uint64_t stopCountingAllocations();
void noteAllocation();
