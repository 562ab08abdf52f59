#pragma once

#include <cmath>
#include <cstdint>

#include "engine/core/Random.h"
#include "engine/core/Vector2d.h"
#include "engine/ui/RangeDraw.h"

// The small arithmetic the effect nodes share. Every draw comes from the engine's generator
// (engineRandom), so a seeded generator replays an effect exactly.

inline float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// Truncated toward zero, held at the int's ends; what is no number is 0.
inline int32_t truncateToInt(float value) {
    if (!(value > -2147483648.0f))
        return value < 0 ? INT32_MIN : 0;
    return value < 2147483648.0f ? int32_t(value) : INT32_MAX;
}

// Degrees to radians with the 32-bit pi / 180.
constexpr float kDegreesToRadians = 0.017453292f;

// An angle in degrees turned on by the elapsed time, kept within a turn, so that hours of
// turning lose no precision.
inline float turnedDegrees(float degrees, float velocity, float seconds) {
    return std::fmod(degrees + velocity * seconds, 360.0f);
}

inline float elapsedSeconds(uint32_t elapsedMs) {
    return float(elapsedMs) * 0.001f;
}

// A timer of milliseconds less the elapsed ones, held at the int's ends.
inline int32_t countDown(int32_t timerMs, int64_t elapsedMs) {
    const int64_t left = int64_t(timerMs) - elapsedMs;
    return left < INT32_MIN ? INT32_MIN : left > INT32_MAX ? INT32_MAX : int32_t(left);
}

// A float between the range's ends (either may be the larger); the low end without drawing
// when both are equal.
inline float drawRange(CVector2d range) {
    return drawFromRange(engineRandom(), range);
}

// An int between the range's ends, both truncated and included, whichever is the larger.
inline int32_t drawIntRange(CVector2d range) {
    const int32_t a = truncateToInt(range.x);
    const int32_t b = truncateToInt(range.y);
    return a <= b ? engineRandom().nextIntInRange(a, b) : engineRandom().nextIntInRange(b, a);
}

// +1 for an odd multiply-with-carry value, -1 for an even one.
inline float randomSign() {
    return (engineRandom().nextMwc() & 1u) != 0 ? 1.0f : -1.0f;
}

// The length of a segment: the root, in double precision, of the float sum of squares.
inline float segmentLength(CVector2d from, CVector2d to) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    return float(std::sqrt(double(dx * dx + dy * dy)));
}
