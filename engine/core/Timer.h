#pragma once

#include <cstdint>

#include "engine/core/RefCounted.h"

class IClockSource;

// The engine's clock: real milliseconds from a clock source, and a virtual clock that can be
// stopped and started in nested fashion (it stands still while the stop count is above 0).
class CTimer : public CRefCounted {
public:
    // Reads the system's monotonic clock.
    CTimer();
    // Reads the given source, which must outlive the timer.
    explicit CTimer(IClockSource& clock);

    // Counter × 1000 / frequency, truncated to 32 bits, or the tick count without a counter
    // (or when reading it fails).
    uint32_t getRealTime() const;

    // Takes the real time that getTime measures against; called once per main-loop pass.
    void tick();

    bool isStopped() const { return m_stopCount > 0; }

    // Virtual milliseconds: what was banked before the last start, plus the real time since it
    // while running.
    uint32_t getTime() const;

    // Banks the virtual time on the first of nested stops.
    void stop();
    // Resumes at the last of nested starts; a start of a running clock does nothing.
    void start();

private:
    IClockSource& m_clock;
    uint64_t m_frequency = 0;
    bool m_hasCounter = false;
    int32_t m_stopCount = 0;
    uint32_t m_startRealTime = 0;
    uint32_t m_accumulated = 0;
    uint32_t m_lastRealTime = 0;
};
