#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

class CSoftwareImage;

// Picture tests: what was drawn is compared with the golden PNG tests/golden/<name>.png,
// channel by channel, each within the tolerance (llvmpipe and other rasterisers round a little
// differently). On a mismatch, or when the golden is missing, the picture is written as
// golden-output/<name>.actual.png and the difference (scaled up eight times so that small
// errors show) as golden-output/<name>.diff.png, in the folder the tests run in, and the
// message names both.
//
// scripts/update-goldens runs the picture tests with VANTOR_UPDATE_GOLDENS=1, which writes
// every picture as its new golden instead of comparing; look at them before committing.
::testing::AssertionResult matchesGolden(const CSoftwareImage& actual, const std::string& name,
                                         int tolerance = 3);

// The same comparison with the golden of another test, which this one never rewrites: a picture
// that another way of drawing must match, where up to allowedPixels pixels may lie outside the
// tolerance (edges that rasterisers legitimately place apart). A failure writes
// golden-output/<name>.*.png.
::testing::AssertionResult matchesGoldenOf(const CSoftwareImage& actual,
                                           const std::string& goldenName, const std::string& name,
                                           int tolerance = 3, int64_t allowedPixels = 0);
