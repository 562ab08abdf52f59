#include "engine/core/MathHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

namespace {

TEST(MathHelpersTest, ToleranceBoundsAreInclusive) {
    uint32_t bits;
    std::memcpy(&bits, &kTolerance, sizeof(bits));
    EXPECT_EQ(bits, 0x358637BDu);
    EXPECT_TRUE(floatEquals(1.0f, 1.000001f, 1e-6f));
    EXPECT_TRUE(floatEquals(0.0f, 1e-6f, 1e-6f));
    EXPECT_TRUE(floatEquals(0.0f, -1e-6f, 1e-6f));
    EXPECT_FALSE(floatEquals(0.0f, 1.1e-6f, 1e-6f));
}

TEST(MathHelpersTest, RoundToNearestTakesHalvesUp) {
    EXPECT_EQ(roundToNearest(2.5f), 3.0f);
    EXPECT_EQ(roundToNearest(-2.5f), -2.0f);
    EXPECT_EQ(roundToNearest(-2.6f), -3.0f);
    EXPECT_EQ(roundToNearest(0.49f), 0.0f);
}

TEST(MathHelpersTest, SineTableHoldsEveryWholeDegree) {
    for (int degrees = 0; degrees < 360; ++degrees) {
        const double exact = std::sin(degrees * kPiDouble / 180.0);
        EXPECT_NEAR(sinTable[degrees], exact, 6e-8) << degrees;
    }
    for (int axis : {0, 90, 180, 270})
        EXPECT_EQ(std::fabs(sinTable[axis]), axis % 180 == 0 ? 0.0f : 1.0f) << axis;
}

TEST(MathHelpersTest, WrapDegreesFoldsAnyAngle) {
    struct Case {
        int degrees, wrapped;
    };
    const Case cases[] = {{0, 0},    {359, 359},  {360, 0},     {450, 90},      {-90, 270},
                          {-360, 0}, {-450, 270}, {720030, 30}, {INT_MAX, 127}, {INT_MIN, 232}};
    for (const Case& c : cases)
        EXPECT_EQ(wrapDegrees(c.degrees), c.wrapped) << c.degrees;
}

TEST(MathHelpersTest, ConstantsInFloatAndDouble) {
    EXPECT_EQ(kPi, 3.1415927f);
    EXPECT_EQ(kRadiansToDegreesDouble, 180.0 / kPiDouble);
    EXPECT_FLOAT_EQ(kHalfPi * 2, kPi);
    EXPECT_FLOAT_EQ(kInversePi * kPi, 1.0f);
    EXPECT_FLOAT_EQ(kDegreesToRadians * kRadiansToDegrees, 1.0f);
}

} // namespace
