#include "engine/core/Matrix4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

CMatrix4 makeMatrix(const float (&elements)[16]) {
    CMatrix4 matrix;
    for (int k = 0; k < 16; ++k)
        matrix.set(k, elements[k]);
    return matrix;
}

// Well conditioned: random entries in [-1, 1] with a heavy diagonal.
CMatrix4 randomMatrix(std::mt19937& generator) {
    std::uniform_real_distribution<float> entry(-1.0f, 1.0f);
    CMatrix4 matrix;
    for (int k = 0; k < 16; ++k)
        matrix.set(k, entry(generator) + (k % 5 == 0 ? 4.0f : 0.0f));
    return matrix;
}

// The product worked out here in double, independent of CMatrix4's own.
void expectProductIsIdentity(const CMatrix4& a, const CMatrix4& b, double tolerance) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(a.at(row, k)) * double(b.at(k, column));
            EXPECT_NEAR(sum, row == column ? 1.0 : 0.0, tolerance) << row << "," << column;
        }
    }
}

void expectSameElements(const CMatrix4& a, const CMatrix4& b) {
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(a[k], b[k]) << "element " << k;
}

TEST(Matrix4Test, InverseTimesMatrixIsIdentity) {
    std::mt19937 generator(7);
    for (int i = 0; i < 200; ++i) {
        const CMatrix4 matrix = randomMatrix(generator);
        CMatrix4 inverse;
        ASSERT_TRUE(matrix.getInverse(inverse));
        expectProductIsIdentity(matrix, inverse, 1e-5);
        expectProductIsIdentity(inverse, matrix, 1e-5);
    }
}

TEST(Matrix4Test, SingularMatricesAreRefusedAndOutIsUntouched) {
    const float tinyDeterminant[16] = {1e-7f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float equalRows[16] = {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 0, 0, 0, 1};
    const float zero[16] = {};
    const float sentinel[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -6};
    for (const auto* elements : {&tinyDeterminant, &equalRows, &zero}) {
        const CMatrix4 matrix = makeMatrix(*elements);
        CMatrix4 out = makeMatrix(sentinel);
        EXPECT_FALSE(matrix.getInverse(out));
        expectSameElements(out, makeMatrix(sentinel));
    }
}

TEST(Matrix4Test, InverseAndTransposeIntoTheSameMatrix) {
    std::mt19937 generator(11);
    const CMatrix4 original = randomMatrix(generator);

    CMatrix4 expected;
    ASSERT_TRUE(original.getInverse(expected));
    CMatrix4 inPlace = original;
    ASSERT_TRUE(inPlace.getInverse(inPlace));
    expectSameElements(inPlace, expected);

    CMatrix4 transposed = original;
    transposed.getTransposed(transposed);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(transposed.at(row, column), original.at(column, row));
    }
    expectSameElements(original.transposed(), transposed);
}

TEST(Matrix4Test, IdentityFlagFollowsWritesAndTolerance) {
    EXPECT_TRUE(CMatrix4::identity().isIdentity());
    CMatrix4 nearly;
    nearly.set(0, 1.0000005f);
    nearly.set(1, -5e-7f);
    EXPECT_TRUE(nearly.isIdentity());
    CMatrix4 translated;
    translated.set(3, 0, 2.0f);
    EXPECT_FALSE(translated.isIdentity());
    EXPECT_FALSE(translated.transposed().isIdentity());

    CMatrix4 inverse;
    ASSERT_TRUE(translated.getInverse(inverse));
    EXPECT_EQ(inverse.at(3, 0), -2.0f);
    EXPECT_FALSE(inverse.isIdentity());
}

TEST(Matrix4Test, ScaleFromDiagonalOrRowLengths) {
    const float diagonal[16] = {2, 0, 0, 0, 0, -3, 0, 0, 0, 0, 4, 0, 7, 8, 9, 1};
    // A quarter turn about z scaled by 2 in x and 3 in y.
    const float rotated[16] = {0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    struct Case {
        const float (*elements)[16];
        CVector3d scale;
    };
    const Case cases[] = {{&diagonal, {2, -3, 4}}, {&rotated, {2, 3, 1}}};
    for (const Case& c : cases) {
        const CVector3d scale = makeMatrix(*c.elements).getScale();
        EXPECT_TRUE(scale.equals(c.scale, 1e-6f)) << scale.x << " " << scale.y << " " << scale.z;
    }
}

TEST(Matrix4Test, PointsAreRowVectorsWithTheTranslationInTheLastRow) {
    const float scaleThenMove[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};
    const float quarterTurn[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const CMatrix4 first = makeMatrix(scaleThenMove);
    const CMatrix4 second = makeMatrix(quarterTurn);

    CVector3d point(1, 1, 1);
    first.transformPoint(point);
    EXPECT_EQ(point, CVector3d(12, 23, 31));

    // The product applies the left matrix first.
    CVector3d composed(1, 1, 1);
    (first * second).transformPoint(composed);
    CVector3d stepwise(1, 1, 1);
    first.transformPoint(stepwise);
    second.transformPoint(stepwise);
    EXPECT_TRUE(composed.equals(stepwise, 1e-5f));
    expectSameElements(CMatrix4::identity() * first, first);
    expectSameElements(first * CMatrix4::identity(), first);
}

} // namespace
