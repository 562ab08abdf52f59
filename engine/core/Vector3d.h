#pragma once

// A 3D float vector: node positions, rotations, scales and bounds.
class CVector3d {
public:
    float x = 0;
    float y = 0;
    float z = 0;

    CVector3d() = default;
    CVector3d(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    // The first three numbers of the text (see readNumberList); missing ones are 0.
    static CVector3d fromText(const char16_t* text);
    static CVector3d fromText(const char* text);

    CVector3d operator+(const CVector3d& other) const;
    CVector3d operator-(const CVector3d& other) const;
    CVector3d operator*(float factor) const { return {x * factor, y * factor, z * factor}; }
    CVector3d& operator+=(const CVector3d& other);
    CVector3d& operator-=(const CVector3d& other);
    bool operator==(const CVector3d& other) const;

    // Every component within the tolerance, both bounds inclusive.
    bool equals(const CVector3d& other, float tolerance) const;

    float getLength() const;

    // Divides by the length, unless the squared length lies within 1e-8 of 0.
    CVector3d& normalize();
};
