#include "game/app/ScreenFit.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    int32_t width;
    int32_t height;
    float scaleX;
    float scaleY;
    float offsetX;
    float offsetY;
    CPixelRect firstBar;
    CPixelRect secondBar;
};

// Stretched within a tenth of the aspect ratio; otherwise even scaling between bars.
const FitCase kFits[] = {
    {1024, 768, 1.0f, 1.0f, 0, 0, {0, 0, 0, 768}, {1024, 0, 1024, 768}},
    {1280, 1024, 1.25f, 1024.0f / 768.0f, 0, 0, {0, 0, 0, 1024}, {1280, 0, 1280, 1024}},
    {800, 600, 800.0f / 1024.0f, 0.78125f, 0, 0, {0, 0, 0, 600}, {800, 0, 800, 600}},
    {1920, 1080, 1.40625f, 1.40625f, 240, 0, {0, 0, 240, 1080}, {1680, 0, 1920, 1080}},
    {1024, 1024, 1.0f, 1.0f, 0, 128, {0, 0, 1024, 128}, {0, 896, 1024, 1024}},
};

void expectRect(const CPixelRect& actual, const CPixelRect& expected, const char* what,
                const FitCase& fit) {
    EXPECT_EQ(actual.left, expected.left) << what << " " << fit.width << "x" << fit.height;
    EXPECT_EQ(actual.top, expected.top) << what << " " << fit.width << "x" << fit.height;
    EXPECT_EQ(actual.right, expected.right) << what << " " << fit.width << "x" << fit.height;
    EXPECT_EQ(actual.bottom, expected.bottom) << what << " " << fit.width << "x" << fit.height;
}

TEST(ScreenFitTest, StretchesOrScalesBetweenBars) {
    for (const FitCase& fit : kFits) {
        GScreenFit screen;
        ASSERT_TRUE(screen.fit(fit.width, fit.height));
        EXPECT_FLOAT_EQ(screen.getScale().x, fit.scaleX) << fit.width << "x" << fit.height;
        EXPECT_FLOAT_EQ(screen.getScale().y, fit.scaleY) << fit.width << "x" << fit.height;
        EXPECT_EQ(screen.getOffset().x, fit.offsetX) << fit.width << "x" << fit.height;
        EXPECT_EQ(screen.getOffset().y, fit.offsetY) << fit.width << "x" << fit.height;
        expectRect(screen.getFirstBar(), fit.firstBar, "first bar", fit);
        expectRect(screen.getSecondBar(), fit.secondBar, "second bar", fit);
    }
}

// A logical point drawn at point x scale + offset comes back to where it was, whether the
// screen is stretched, letter-boxed or pillar-boxed.
TEST(ScreenFitTest, ScreenToSceneUndoesTheFit) {
    const CVector3d logical[] = {{0, 0, 0}, {1024, 768, 0}, {512, 384, 0}, {100.5f, 700, 0}};
    for (const FitCase& fit : kFits) {
        GScreenFit screen;
        ASSERT_TRUE(screen.fit(fit.width, fit.height));
        for (const CVector3d& point : logical) {
            const CVector3d onScreen(point.x * fit.scaleX + fit.offsetX,
                                     point.y * fit.scaleY + fit.offsetY, 0);
            EXPECT_TRUE(screen.screenToScene(onScreen).equals(point, 1e-3f))
                << fit.width << "x" << fit.height << " at " << point.x << "," << point.y;
        }
    }
}

TEST(ScreenFitTest, SizeWithoutAreaKeepsThePreviousFit) {
    GScreenFit screen;
    ASSERT_TRUE(screen.fit(1920, 1080));
    for (const auto& size : {std::pair{0, 1080}, std::pair{1920, 0}, std::pair{-5, 600}}) {
        EXPECT_FALSE(screen.fit(size.first, size.second));
        EXPECT_EQ(screen.getOffset().x, 240.0f);
        EXPECT_FLOAT_EQ(screen.getScale().x, 1.40625f);
        EXPECT_EQ(screen.getSecondBar().left, 1680);
    }
}

} // namespace
