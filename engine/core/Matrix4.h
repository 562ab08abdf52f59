#pragma once

#include "engine/core/Vector3d.h"

// A 4 by 4 float matrix stored row after row (element k at row k / 4, column k % 4). Points are
// row vectors multiplied from the left, so the translation is the last row. A flag remembers
// that the matrix is the identity, so transforms can skip multiplications; every write of an
// element clears it.
class CMatrix4 {
public:
    // The identity, flag set.
    CMatrix4();

    static const CMatrix4& identity();

    float operator[](int index) const { return m_elements[index]; }
    float at(int row, int column) const { return m_elements[row * 4 + column]; }
    const float* pointer() const { return m_elements; }

    void set(int index, float value) {
        m_elements[index] = value;
        m_isIdentity = false;
    }
    void set(int row, int column, float value) { set(row * 4 + column, value); }

    // True at once when the flag is set; otherwise tests every element within the tolerance
    // and, when the answer is yes, sets the flag.
    bool isIdentity() const;

    // This transform followed by the other one: a point p maps to p · this · other.
    CMatrix4 operator*(const CMatrix4& other) const;

    // The out matrix may be this one. Out gets this matrix's flag.
    void getTransposed(CMatrix4& out) const;
    CMatrix4 transposed() const;

    // False, out untouched, when |determinant| is at most the tolerance. The out matrix may be
    // this one. Out gets this matrix's flag.
    bool getInverse(CMatrix4& out) const;

    // The diagonal when the rest of the upper-left 3 by 3 block is 0 (signs kept); otherwise the
    // lengths of the first three rows over their first three elements.
    CVector3d getScale() const;

    // The point as a row vector times the matrix, the last row added as the translation.
    void transformPoint(CVector3d& point) const;

private:
    float m_elements[16];
    mutable bool m_isIdentity;
};
