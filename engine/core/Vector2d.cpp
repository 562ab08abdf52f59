#include "engine/core/Vector2d.h"

#include <cmath>

#include "engine/core/MathHelpers.h"
#include "engine/core/NumberList.h"

namespace {

float atanDegrees(float ratio) {
    return std::atan(ratio) * kRadiansToDegrees;
}

} // namespace

CVector2d CVector2d::fromText(const char16_t* text) {
    float values[2];
    readNumberList(text, values, 2);
    return {values[0], values[1]};
}

CVector2d CVector2d::fromText(const char* text) {
    float values[2];
    readNumberList(text, values, 2);
    return {values[0], values[1]};
}

CVector2d& CVector2d::operator+=(const CVector2d& other) {
    x += other.x;
    y += other.y;
    return *this;
}

CVector2d& CVector2d::operator-=(const CVector2d& other) {
    x -= other.x;
    y -= other.y;
    return *this;
}

float CVector2d::getLength() const {
    return std::sqrt(x * x + y * y);
}

float CVector2d::angleDegrees() const {
    if (x == 0)
        return y < 0 ? 270.0f : 90.0f;
    if (y == 0)
        return x < 0 ? 180.0f : 0.0f;
    if (x > 0 && y > 0)
        return atanDegrees(y / x);
    if (x < 0 && y > 0)
        return 180.0f - atanDegrees(y / -x);
    if (x < 0)
        return atanDegrees(y / x) + 180.0f;
    // A tiny negative y would round up to 360, which lies outside the promised range.
    const float angle = 360.0f - atanDegrees(-y / x);
    return angle < 360.0f ? angle : 0.0f;
}

void CVector2d::rotateByDegrees(int degrees) {
    const int angle = wrapDegrees(degrees);
    const float s = sinTable[angle];
    const float c = sinTable[(angle + 90) % 360];
    const float oldX = x;
    x = oldX * c - y * s;
    y = oldX * s + y * c;
}

CVector2d& CVector2d::normalize() {
    const float squared = x * x + y * y;
    if (squared == 0)
        return *this;
    const float length = std::sqrt(squared);
    x /= length;
    y /= length;
    return *this;
}

CVector2d& CVector2d::setLength(float length) {
    normalize();
    x *= length;
    y *= length;
    return *this;
}
