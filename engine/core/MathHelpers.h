#pragma once

#include "engine/core/Vector2d.h"

// Tolerance, rounding, angle constants and the whole-degree sine table of the engine's 2D maths.

#include <cstdint>

// The float with the bits 0x358637BD.
constexpr float kTolerance = 1e-6f;

constexpr double kPiDouble = 3.141592653589793;
constexpr double kHalfPiDouble = kPiDouble / 2.0;
constexpr double kInversePiDouble = 1.0 / kPiDouble;
constexpr double kDegreesToRadiansDouble = kPiDouble / 180.0;
constexpr double kRadiansToDegreesDouble = 57.29577951308232;

// The float constants are the double ones rounded once.
constexpr float kPi = static_cast<float>(kPiDouble);
constexpr float kHalfPi = static_cast<float>(kHalfPiDouble);
constexpr float kInversePi = static_cast<float>(kInversePiDouble);
constexpr float kDegreesToRadians = static_cast<float>(kDegreesToRadiansDouble);
constexpr float kRadiansToDegrees = static_cast<float>(kRadiansToDegreesDouble);

// Both bounds inclusive.
inline bool floatEquals(float a, float b, float tolerance = kTolerance) {
    return b <= a + tolerance && b >= a - tolerance;
}

float roundToNearest(float x);

// NaN and the infinities become 0, so that numbers read from files stay usable.
float finiteOrZero(float value);
CVector2d finiteOrZero(const CVector2d& value);

// Truncated toward zero and held within the int range; NaN gives 0. Converting a float beyond the
// range is undefined, so untrusted values go through here.
inline int32_t truncateToInt(float x) {
    if (!(x > -2147483648.0f))
        return x < 0 ? INT32_MIN : 0;
    return x >= 2147483648.0f ? INT32_MAX : int32_t(x);
}

// Entry k is sin(k degrees); the cosine of k is at (k + 90) mod 360.
extern const float sinTable[360];

// Whole degrees folded into 0 to 359, negative angles included.
inline int wrapDegrees(int degrees) {
    const int remainder = degrees % 360;
    return remainder < 0 ? remainder + 360 : remainder;
}
