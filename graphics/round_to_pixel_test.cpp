// Rounding of drawing coordinates to pixels.
#include "graphics/round_to_pixel.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(RoundToPixel, RoundsToNearestWithHalvesToEven) {
    EXPECT_EQ(RoundToPixel(0.5f), 0);
    EXPECT_EQ(RoundToPixel(1.5f), 2);
    EXPECT_EQ(RoundToPixel(2.5f), 2);
    EXPECT_EQ(RoundToPixel(-0.5f), 0);
    EXPECT_EQ(RoundToPixel(-1.5f), -2);
    EXPECT_EQ(RoundToPixel(2.49f), 2);
    EXPECT_EQ(RoundToPixel(2.51f), 3);
    EXPECT_EQ(RoundToPixel(-2.51f), -3);
    EXPECT_EQ(RoundToPixel(1919.0f), 1919);
    EXPECT_EQ(RoundToPixel(16777216.0f), 16777216);
}

TEST(RoundToPixel, OutOfRangeGivesTheIndefiniteValue) {
    EXPECT_EQ(RoundToPixel(3.0e9f), INT32_MIN);
    EXPECT_EQ(RoundToPixel(-3.0e9f), INT32_MIN);
    EXPECT_EQ(RoundToPixel(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
}

}  // namespace
