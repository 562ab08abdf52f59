#pragma once

#include <cstdint>

// Where the timer reads real time: a high-resolution counter with its frequency, and a
// millisecond tick count for systems without one. Tests replace it with a fake.
class IClockSource {
public:
    virtual ~IClockSource() = default;

    // False when there is no high-resolution counter.
    virtual bool queryFrequency(uint64_t& countsPerSecond) = 0;
    virtual bool queryCounter(uint64_t& counts) = 0;
    virtual uint32_t getTickCount() = 0;
};

// The system's monotonic clock in nanoseconds; the tick count is the same clock in milliseconds.
class CMonotonicClock : public IClockSource {
public:
    // The process-wide instance; never destroyed, so timers may outlive static destructors.
    static CMonotonicClock& instance();

    bool queryFrequency(uint64_t& countsPerSecond) override;
    bool queryCounter(uint64_t& counts) override;
    uint32_t getTickCount() override;
};
