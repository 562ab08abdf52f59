#include "engine/core/Matrix4.h"

#include <cmath>

#include "engine/core/MathHelpers.h"

CMatrix4::CMatrix4() : m_elements{}, m_isIdentity(true) {
    m_elements[0] = m_elements[5] = m_elements[10] = m_elements[15] = 1;
}

const CMatrix4& CMatrix4::identity() {
    static const CMatrix4 matrix;
    return matrix;
}

bool CMatrix4::isIdentity() const {
    if (m_isIdentity)
        return true;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if (!floatEquals(at(row, column), row == column ? 1.0f : 0.0f))
                return false;
        }
    }
    m_isIdentity = true;
    return true;
}

CMatrix4 CMatrix4::operator*(const CMatrix4& other) const {
    if (isIdentity())
        return other;
    if (other.isIdentity())
        return *this;
    CMatrix4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += at(row, k) * other.at(k, column);
            product.m_elements[row * 4 + column] = sum;
        }
    }
    product.m_isIdentity = false;
    return product;
}

void CMatrix4::getTransposed(CMatrix4& out) const {
    out = transposed();
}

CMatrix4 CMatrix4::transposed() const {
    CMatrix4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column)
            result.m_elements[row * 4 + column] = at(column, row);
    }
    result.m_isIdentity = m_isIdentity;
    return result;
}

bool CMatrix4::getInverse(CMatrix4& out) const {
    const float* a = m_elements;
    // 2 by 2 minors of the upper two rows (s) and the lower two rows (c); the determinant is the
    // sum of their complementary products.
    const float s0 = a[0] * a[5] - a[1] * a[4];
    const float s1 = a[0] * a[6] - a[2] * a[4];
    const float s2 = a[0] * a[7] - a[3] * a[4];
    const float s3 = a[1] * a[6] - a[2] * a[5];
    const float s4 = a[1] * a[7] - a[3] * a[5];
    const float s5 = a[2] * a[7] - a[3] * a[6];
    const float c0 = a[8] * a[13] - a[9] * a[12];
    const float c1 = a[8] * a[14] - a[10] * a[12];
    const float c2 = a[8] * a[15] - a[11] * a[12];
    const float c3 = a[9] * a[14] - a[10] * a[13];
    const float c4 = a[9] * a[15] - a[11] * a[13];
    const float c5 = a[10] * a[15] - a[11] * a[14];
    const float determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (std::fabs(determinant) <= kTolerance)
        return false;
    const float f = 1.0f / determinant;
    // Computed whole before out is written, since out may be this matrix.
    const float inverse[16] = {
        (a[5] * c5 - a[6] * c4 + a[7] * c3) * f,     (-a[1] * c5 + a[2] * c4 - a[3] * c3) * f,
        (a[13] * s5 - a[14] * s4 + a[15] * s3) * f,  (-a[9] * s5 + a[10] * s4 - a[11] * s3) * f,
        (-a[4] * c5 + a[6] * c2 - a[7] * c1) * f,    (a[0] * c5 - a[2] * c2 + a[3] * c1) * f,
        (-a[12] * s5 + a[14] * s2 - a[15] * s1) * f, (a[8] * s5 - a[10] * s2 + a[11] * s1) * f,
        (a[4] * c4 - a[5] * c2 + a[7] * c0) * f,     (-a[0] * c4 + a[1] * c2 - a[3] * c0) * f,
        (a[12] * s4 - a[13] * s2 + a[15] * s0) * f,  (-a[8] * s4 + a[9] * s2 - a[11] * s0) * f,
        (-a[4] * c3 + a[5] * c1 - a[6] * c0) * f,    (a[0] * c3 - a[1] * c1 + a[2] * c0) * f,
        (-a[12] * s3 + a[13] * s1 - a[14] * s0) * f, (a[8] * s3 - a[9] * s1 + a[10] * s0) * f,
    };
    const bool wasIdentity = m_isIdentity;
    for (int k = 0; k < 16; ++k)
        out.m_elements[k] = inverse[k];
    out.m_isIdentity = wasIdentity;
    return true;
}

CVector3d CMatrix4::getScale() const {
    const float* m = m_elements;
    const bool diagonal = floatEquals(m[1], 0) && floatEquals(m[2], 0) && floatEquals(m[4], 0) &&
                          floatEquals(m[6], 0) && floatEquals(m[8], 0) && floatEquals(m[9], 0);
    if (diagonal)
        return {m[0], m[5], m[10]};
    auto rowLength = [m](int first) {
        return std::sqrt(m[first] * m[first] + m[first + 1] * m[first + 1] +
                         m[first + 2] * m[first + 2]);
    };
    return {rowLength(0), rowLength(4), rowLength(8)};
}

void CMatrix4::transformPoint(CVector3d& point) const {
    const float* m = m_elements;
    const CVector3d p = point;
    point.x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
    point.y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
    point.z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
}
