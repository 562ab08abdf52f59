#include "engine/core/Vector3d.h"

#include <gtest/gtest.h>

namespace {

TEST(Vector3dTest, ArithmeticAndEquality) {
    CVector3d sum(1, 2, 3);
    sum += CVector3d(0.5f, -2, 1);
    EXPECT_EQ(sum, CVector3d(1.5f, 0, 4));
    EXPECT_EQ(CVector3d(5, 5, 5) - CVector3d(1, 2, 3), CVector3d(4, 3, 2));
    EXPECT_TRUE(CVector3d(1, 2, 3).equals(CVector3d(1.000001f, 2, 2.999999f), 1e-6f));
    EXPECT_FALSE(CVector3d(1, 2, 3).equals(CVector3d(1, 2, 3.01f), 1e-6f));
}

TEST(Vector3dTest, NormalizeLeavesNearZeroVectorsAlone) {
    CVector3d v(0, 3, 4);
    v.normalize();
    EXPECT_TRUE(v.equals(CVector3d(0, 0.6f, 0.8f), 1e-6f));
    // Squared length 1e-10, within 1e-8 of 0.
    CVector3d tiny(1e-5f, 0, 0);
    tiny.normalize();
    EXPECT_EQ(tiny, CVector3d(1e-5f, 0, 0));
}

TEST(Vector3dTest, FromTextReadsTheFirstThreeNumbers) {
    EXPECT_EQ(CVector3d::fromText(u"1;2.5;-3;4"), CVector3d(1, 2.5f, -3));
    EXPECT_EQ(CVector3d::fromText("10 20"), CVector3d(10, 20, 0));
}

} // namespace
