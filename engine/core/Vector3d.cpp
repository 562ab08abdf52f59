#include "engine/core/Vector3d.h"

#include <cmath>

#include "engine/core/MathHelpers.h"
#include "engine/core/NumberList.h"

CVector3d CVector3d::fromText(const char16_t* text) {
    float values[3];
    readNumberList(text, values, 3);
    return {values[0], values[1], values[2]};
}

CVector3d CVector3d::fromText(const char* text) {
    float values[3];
    readNumberList(text, values, 3);
    return {values[0], values[1], values[2]};
}

CVector3d CVector3d::operator+(const CVector3d& other) const {
    return {x + other.x, y + other.y, z + other.z};
}

CVector3d CVector3d::operator-(const CVector3d& other) const {
    return {x - other.x, y - other.y, z - other.z};
}

CVector3d& CVector3d::operator+=(const CVector3d& other) {
    x += other.x;
    y += other.y;
    z += other.z;
    return *this;
}

CVector3d& CVector3d::operator-=(const CVector3d& other) {
    x -= other.x;
    y -= other.y;
    z -= other.z;
    return *this;
}

bool CVector3d::operator==(const CVector3d& other) const {
    return x == other.x && y == other.y && z == other.z;
}

bool CVector3d::equals(const CVector3d& other, float tolerance) const {
    return floatEquals(x, other.x, tolerance) && floatEquals(y, other.y, tolerance) &&
           floatEquals(z, other.z, tolerance);
}

float CVector3d::getLength() const {
    return std::sqrt(x * x + y * y + z * z);
}

CVector3d& CVector3d::normalize() {
    const float squared = x * x + y * y + z * z;
    if (floatEquals(squared, 0, 1e-8f))
        return *this;
    const float length = std::sqrt(squared);
    x /= length;
    y /= length;
    z /= length;
    return *this;
}
