#include "engine/core/Timer.h"

#include "engine/core/MonotonicClock.h"

CTimer::CTimer() : CTimer(CMonotonicClock::instance()) {}

CTimer::CTimer(IClockSource& clock) : m_clock(clock) {
    m_hasCounter = m_clock.queryFrequency(m_frequency) && m_frequency != 0;
    m_startRealTime = m_lastRealTime = getRealTime();
}

uint32_t CTimer::getRealTime() const {
    uint64_t counts = 0;
    if (!m_hasCounter || !m_clock.queryCounter(counts))
        return m_clock.getTickCount();
    // Whole seconds and the rest apart: counts × 1000 would overflow 64 bits after some
    // 213 days of a nanosecond counter.
    const uint64_t seconds = counts / m_frequency;
    const uint64_t rest = counts % m_frequency;
    return uint32_t(seconds * 1000 + rest * 1000 / m_frequency);
}

void CTimer::tick() {
    m_lastRealTime = getRealTime();
}

uint32_t CTimer::getTime() const {
    if (isStopped())
        return m_accumulated;
    return m_accumulated + m_lastRealTime - m_startRealTime;
}

void CTimer::stop() {
    if (!isStopped())
        m_accumulated += m_lastRealTime - m_startRealTime;
    ++m_stopCount;
}

// Starting a running clock does nothing: a count below 0 would make the next stop ineffective.
void CTimer::start() {
    if (!isStopped())
        return;
    --m_stopCount;
    if (!isStopped())
        m_startRealTime = m_lastRealTime = getRealTime();
}
