#pragma once

#include <cstdint>

// Turns presented frames into frames per second and primitive statistics, recomputed once a
// counting window of at least 1500 ms has passed.
class CFrameRateCounter {
public:
    CFrameRateCounter() { reset(); }

    void reset();
    void registerFrame(uint32_t nowMs, uint32_t primitives);

    uint32_t getFramesPerSecond() const { return m_framesPerSecond; }
    uint32_t getLastFramePrimitives() const { return m_lastFramePrimitives; }
    uint32_t getPrimitivesPerSecond() const { return m_primitivesPerSecond; }
    uint32_t getTotalPrimitives() const { return m_totalPrimitives; }

private:
    static constexpr uint32_t kWindowMs = 1500;

    uint32_t m_framesPerSecond;
    uint32_t m_lastFramePrimitives;
    uint32_t m_windowStart;
    uint32_t m_windowFrames;
    uint32_t m_windowPrimitives;
    uint32_t m_primitivesPerSecond;
    uint32_t m_totalPrimitives;
};
