#include "engine/scene/NodeTransform.h"

#include <cmath>

#include "engine/core/MathHelpers.h"

namespace {

bool isUnitScale(const CVector3d& scale) {
    return floatEquals(scale.x, 1) && floatEquals(scale.y, 1) && floatEquals(scale.z, 1);
}

} // namespace

CMatrix4 makeRelativeNodeMatrix(const CVector3d& position, const CVector3d& rotation,
                                const CVector3d& scale, const CVector2d& pivot) {
    const float cx = std::cos(rotation.x * kDegreesToRadians);
    const float sx = std::sin(rotation.x * kDegreesToRadians);
    const float cy = std::cos(rotation.y * kDegreesToRadians);
    const float sy = std::sin(rotation.y * kDegreesToRadians);
    const float cz = std::cos(rotation.z * kDegreesToRadians);
    const float sz = std::sin(rotation.z * kDegreesToRadians);
    float m[16] = {
        cy * cz,
        cy * sz,
        -sy,
        0,
        sx * sy * cz - cx * sz,
        sx * sy * sz + cx * cz,
        sx * cy,
        0,
        cx * sy * cz + sx * sz,
        cx * sy * sz - sx * cz,
        cx * cy,
        0,
        position.x,
        position.y,
        position.z,
        1,
    };
    // Scaling before rotating: the scale matrix multiplied in from the left scales the rows.
    if (!isUnitScale(scale)) {
        const float factors[3] = {scale.x, scale.y, scale.z};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column)
                m[row * 4 + column] *= factors[row];
        }
    }
    // A translation by minus the pivot, multiplied in from the left.
    if (pivot.x != 0 || pivot.y != 0) {
        for (int column = 0; column < 4; ++column)
            m[12 + column] = -pivot.x * m[column] + -pivot.y * m[4 + column] + m[12 + column];
    }
    CMatrix4 matrix;
    for (int k = 0; k < 16; ++k)
        matrix.set(k, m[k]);
    return matrix;
}

void composeNodeMatrix(const CMatrix4& parent, const CMatrix4& relative, CMatrix4& absolute) {
    if (parent.isIdentity()) {
        absolute = relative;
        return;
    }
    if (relative.isIdentity()) {
        absolute = parent;
        return;
    }
    const CMatrix4& a = parent;
    const CMatrix4& b = relative;
    absolute.set(0, a[0] * b[0] + a[4] * b[1]);
    absolute.set(1, a[5] * b[1] + a[1] * b[0]);
    absolute.set(4, a[0] * b[4] + a[4] * b[5]);
    absolute.set(5, a[5] * b[5] + a[1] * b[4]);
    absolute.set(12, a[0] * b[12] + a[4] * b[13] + a[12]);
    absolute.set(13, a[5] * b[13] + a[1] * b[12] + a[13]);
    absolute.set(14, a[14] + b[14]);
}
