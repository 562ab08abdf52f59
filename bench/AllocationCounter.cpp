#include "bench/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_counting{false};
std::atomic<uint64_t> g_allocations{0};

} // namespace

void startCountingAllocations() {
    g_allocations = 0;
    g_counting = true;
}

uint64_t stopCountingAllocations() {
    g_counting = false;
    return g_allocations.load();
}

void noteAllocation() {
    if (g_counting.load(std::memory_order_relaxed))
        g_allocations.fetch_add(1, std::memory_order_relaxed);
}

// All kept out of line: once inlined, malloc() and free() seen behind new and delete draw
// mismatch warnings.
[[gnu::noinline]] void* operator new(size_t size) {
    noteAllocation();
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](size_t size) {
    return operator new(size);
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block, size_t) noexcept {
    std::free(block);
}
