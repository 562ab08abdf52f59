#pragma once

// A 2D float vector: positions, sizes, pivots and ranges.
class CVector2d {
public:
    float x = 0;
    float y = 0;

    CVector2d() = default;
    CVector2d(float xValue, float yValue) : x(xValue), y(yValue) {}

    // The first two numbers of the text (see readNumberList); missing ones are 0.
    static CVector2d fromText(const char16_t* text);
    static CVector2d fromText(const char* text);

    CVector2d operator+(const CVector2d& other) const { return {x + other.x, y + other.y}; }
    CVector2d operator-(const CVector2d& other) const { return {x - other.x, y - other.y}; }
    CVector2d operator*(float factor) const { return {x * factor, y * factor}; }
    CVector2d& operator+=(const CVector2d& other);
    CVector2d& operator-=(const CVector2d& other);
    bool operator==(const CVector2d& other) const { return x == other.x && y == other.y; }

    float getLength() const;

    // Angle from the positive x axis towards the positive y axis, in [0, 360); exactly 0, 90,
    // 180 or 270 on the axes, 90 for the zero vector.
    float angleDegrees() const;

    // Rotates in place by whole degrees through the sine table; any int angle works.
    void rotateByDegrees(int degrees);

    // Divides by the length; a vector of squared length 0 stays as it is.
    CVector2d& normalize();
    // Normalizes, then scales to the length; a zero vector stays zero.
    CVector2d& setLength(float length);
};
