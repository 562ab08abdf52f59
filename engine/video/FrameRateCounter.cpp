#include "engine/video/FrameRateCounter.h"

#include <cmath>

namespace {

// Rounds up count per second in single precision, the reciprocal taken first; the figures shown
// depend on that rounding (120 frames in 2000 ms show 61).
uint32_t perSecond(uint32_t count, uint32_t elapsedMs) {
    const float reciprocal = 1.0f / float(elapsedMs);
    const float rate = float(count) * 1000.0f * reciprocal;
    return uint32_t(std::ceil(rate));
}

} // namespace

void CFrameRateCounter::reset() {
    m_framesPerSecond = 60;
    m_lastFramePrimitives = 0;
    m_windowStart = 0;
    m_windowFrames = 0;
    m_windowPrimitives = 0;
    m_primitivesPerSecond = 0;
    m_totalPrimitives = 0;
}

void CFrameRateCounter::registerFrame(uint32_t nowMs, uint32_t primitives) {
    m_totalPrimitives += primitives;
    m_windowPrimitives += primitives;
    ++m_windowFrames;
    m_lastFramePrimitives = primitives;
    const uint32_t elapsed = nowMs - m_windowStart;
    if (elapsed < kWindowMs)
        return;
    m_framesPerSecond = perSecond(m_windowFrames, elapsed);
    m_primitivesPerSecond = perSecond(m_windowPrimitives, elapsed);
    m_windowStart = nowMs;
    m_windowFrames = 0;
    m_windowPrimitives = 0;
}
