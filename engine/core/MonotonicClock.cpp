#include "engine/core/MonotonicClock.h"

#include <time.h>

namespace {

constexpr uint64_t kNanosecondsPerSecond = 1000000000;

bool readNanoseconds(uint64_t& nanoseconds) {
    timespec now;
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return false;
    nanoseconds = uint64_t(now.tv_sec) * kNanosecondsPerSecond + uint64_t(now.tv_nsec);
    return true;
}

} // namespace

CMonotonicClock& CMonotonicClock::instance() {
    static CMonotonicClock* clock = new CMonotonicClock;
    return *clock;
}

bool CMonotonicClock::queryFrequency(uint64_t& countsPerSecond) {
    countsPerSecond = kNanosecondsPerSecond;
    return true;
}

bool CMonotonicClock::queryCounter(uint64_t& counts) {
    return readNanoseconds(counts);
}

uint32_t CMonotonicClock::getTickCount() {
    uint64_t nanoseconds = 0;
    readNanoseconds(nanoseconds);
    return uint32_t(nanoseconds / 1000000);
}
