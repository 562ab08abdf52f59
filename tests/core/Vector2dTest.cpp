#include "engine/core/Vector2d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "engine/core/MathHelpers.h"

namespace {

TEST(Vector2dTest, AngleDegreesOnAxesAndInEveryQuadrant) {
    struct Case {
        float x, y, angle;
    };
    const Case cases[] = {
        {0, 0, 90},
        {0, 2, 90},
        {0, -2, 270},
        {-1, 0, 180},
        {3, 0, 0},
        {1, 1, 45},
        {-1, 1, 135},
        {-1, -1, 225},
        {1, -1, 315},
        // Would round to 360, outside [0, 360).
        {1, -1e-10f, 0},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(CVector2d(c.x, c.y).angleDegrees(), c.angle) << c.x << "," << c.y;
}

TEST(Vector2dTest, AngleDegreesMatchesAtan2AllAround) {
    for (int tenth = 0; tenth < 3600; tenth += 7) {
        const double radians = tenth / 10.0 * kPiDouble / 180.0;
        const float angle =
            CVector2d(float(std::cos(radians)), float(std::sin(radians))).angleDegrees();
        ASSERT_GE(angle, 0.0f);
        ASSERT_LT(angle, 360.0f);
        EXPECT_NEAR(angle, tenth / 10.0, 1e-3) << tenth;
    }
}

TEST(Vector2dTest, RotateByDegreesWrapsAnyAngle) {
    struct Case {
        int degrees;
        float x, y;
    };
    const Case quarterTurns[] = {{90, 0, 1},    {-90, 0, -1}, {450, 0, 1},  {180, -1, 0},
                                 {-450, 0, -1}, {360, 1, 0},  {-720, 1, 0}, {INT_MIN + 218, 0, 1}};
    for (const Case& c : quarterTurns) {
        CVector2d v(1, 0);
        v.rotateByDegrees(c.degrees);
        EXPECT_EQ(v, CVector2d(c.x, c.y)) << c.degrees;
    }
    for (int degrees : {30, -30, 725, INT_MAX, INT_MIN}) {
        CVector2d v(2, 1);
        v.rotateByDegrees(degrees);
        const double radians = wrapDegrees(degrees) * kPiDouble / 180.0;
        EXPECT_NEAR(v.x, 2 * std::cos(radians) - std::sin(radians), 1e-6) << degrees;
        EXPECT_NEAR(v.y, 2 * std::sin(radians) + std::cos(radians), 1e-6) << degrees;
    }
}

TEST(Vector2dTest, NormalizeAndSetLengthLeaveZeroVectorsAlone) {
    CVector2d v(3, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    EXPECT_EQ(CVector2d(3, 4).setLength(10), CVector2d(6, 8));
    EXPECT_EQ(CVector2d().normalize(), CVector2d());
    EXPECT_EQ(CVector2d().setLength(5), CVector2d());
    EXPECT_EQ(CVector2d(-0.0f, 0.0f).setLength(5), CVector2d());
}

TEST(Vector2dTest, FromTextReadsTheFirstTwoNumbers) {
    EXPECT_EQ(CVector2d::fromText(u"12.5;-3"), CVector2d(12.5f, -3));
    EXPECT_EQ(CVector2d::fromText("7"), CVector2d(7, 0));
    EXPECT_EQ(CVector2d::fromText("(1, 2, 3)"), CVector2d(1, 2));
}

} // namespace
