// Box drawing, checked pixel by pixel in memory bitmaps.
#include "graphics/graphic_box.h"

#include <gtest/gtest.h>

#include <array>

#include "graphics/dirty_rectangle.h"
#include "tests/support/pixel_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// Where a box's one-pixel outline lies: columns left..right-1, rows top..bottom-1.
bool OnOutline(int x, int y, int left, int top, int right, int bottom) {
    const bool inColumns = x >= left && x <= right - 1;
    const bool inRows = y >= top && y <= bottom - 1;
    return (inColumns && (y == top || y == bottom - 1)) || (inRows && (x == left || x == right - 1));
}

bool Inside(int x, int y, int left, int top, int right, int bottom) {
    return x > left && x < right - 1 && y > top && y < bottom - 1;
}

class DrawGraphicBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap = NewFilledBitmap(kSize, kSize, kWhite);
        AttachGraphic(bitmap, 0, 0);
    }
    // Every pixel of the bitmap: outline colour on the outline, `inside` within, white outside.
    void ExpectBox(int left, int top, int right, int bottom, COLORREF outline, COLORREF inside) {
        ExpectPixels(bitmap, kSize, kSize, [=](int x, int y) {
            if (OnOutline(x, y, left, top, right, bottom)) return outline;
            return Inside(x, y, left, top, right, bottom) ? inside : kWhite;
        });
    }
    static constexpr int kSize = 24;
    using Snapshot = std::array<std::array<COLORREF, kSize>, kSize>;  // [y][x]
    Snapshot TakeSnapshot() {
        Snapshot pixels{};
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) pixels[y][x] = PixelOf(bitmap, x, y);
        }
        return pixels;
    }
    void ExpectSnapshot(const Snapshot& expected) {
        ExpectPixels(bitmap, kSize, kSize, [&](int x, int y) { return expected[y][x]; });
    }
    ObjectHandle bitmap = 0;
};

TEST_F(DrawGraphicBoxTest, HollowOutlineLeavesTheInsideUntouched) {
    DrawGraphicBox(5, 6, 15, 12, 0, 255, kNoFill, 0);
    ExpectBox(5, 6, 15, 12, kRed, kWhite);
}

TEST_F(DrawGraphicBoxTest, CornersInAnyOrderDrawTheSameBox) {
    const float corners[3][4] = {{15, 12, 5, 6}, {15, 6, 5, 12}, {5, 12, 15, 6}};
    for (const auto& c : corners) {
        FillBitmap(bitmap, kWhite);
        DrawGraphicBox(c[0], c[1], c[2], c[3], 0, 255, kNoFill, 0);
        ExpectBox(5, 6, 15, 12, kRed, kWhite);
    }
}

TEST_F(DrawGraphicBoxTest, RoundedCornersInAnyOrderDrawTheSameBox) {
    DrawGraphicBox(3, 4, 21, 19, 60, 255, kSameAsOutline, 0);
    const Snapshot expected = TakeSnapshot();
    EXPECT_EQ(expected[4][3], kWhite) << "the corner is rounded off";
    EXPECT_EQ(expected[11][12], kRed);
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(21, 19, 3, 4, 60, 255, kSameAsOutline, 0);
    ExpectSnapshot(expected);
}

TEST_F(DrawGraphicBoxTest, FillsWithTheOutlineColourOrItsOwn) {
    DrawGraphicBox(2, 3, 12, 10, 0, 255, kSameAsOutline, 0);
    ExpectBox(2, 3, 12, 10, kRed, kRed);
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(2, 3, 12, 10, 0, 255, static_cast<std::int32_t>(kGreen), 0);
    ExpectBox(2, 3, 12, 10, kRed, kGreen);
    // A fill style beyond the hatches is a solid fill; high colour bits are dropped.
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(2, 3, 12, 10, 0, static_cast<std::int32_t>(0xFF0000FF), static_cast<std::int32_t>(kGreen), 9);
    ExpectBox(2, 3, 12, 10, kRed, kGreen);
}

TEST_F(DrawGraphicBoxTest, ColourMinusOneIsTheForegroundColour) {
    DrawGraphicBox(4, 4, 14, 14, 0, kForegroundColour, kNoFill, 0);
    ExpectBox(4, 4, 14, 14, GetSysColor(COLOR_WINDOWTEXT), kWhite);
}

TEST_F(DrawGraphicBoxTest, HorizontalHatchAlternatesFillAndBackgroundRows) {
    DrawGraphicBox(0, 0, 20, 20, 0, 255, static_cast<std::int32_t>(kGreen), 1);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    int hatchRows = 0;
    int gapRows = 0;
    for (int y = 1; y < 19; ++y) {
        const COLORREF rowColour = PixelOf(bitmap, 1, y);
        for (int x = 2; x < 19; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), rowColour) << x << "," << y;
        if (rowColour == kGreen) ++hatchRows;
        else if (rowColour == background) ++gapRows;
        else ADD_FAILURE() << "row " << y << " has colour " << std::hex << rowColour;
    }
    EXPECT_GE(hatchRows, 2);
    EXPECT_GE(gapRows, 2 * hatchRows);
}

TEST_F(DrawGraphicBoxTest, RoundingAboveOneHundredIsOneHundred) {
    DrawGraphicBox(2, 2, 20, 16, 100, 255, kNoFill, 0);
    const Snapshot expected = TakeSnapshot();
    EXPECT_EQ(expected[2][2], kWhite) << "a rounded corner leaves the corner pixel";
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(2, 2, 20, 16, 250, 255, kNoFill, 0);
    ExpectSnapshot(expected);
}

TEST_F(DrawGraphicBoxTest, RoundingNotGivenDrawsAnEllipse) {
    DrawGraphicBox(2, 2, 20, 16, 0x80000000, 255, kNoFill, 0);
    EXPECT_EQ(PixelOf(bitmap, 2, 2), kWhite);
    EXPECT_EQ(PixelOf(bitmap, 4, 3), kWhite);
    EXPECT_EQ(PixelOf(bitmap, 11, 2), kRed);
    EXPECT_EQ(PixelOf(bitmap, 2, 9), kRed);
}

TEST_F(DrawGraphicBoxTest, ReportsTheBoxWidenedByThePen) {
    RedrawGraphic();
    DrawGraphicBox(9, 7, 9, 7, 0, 255, kNoFill, 0);
    EXPECT_EQ(RecordOf(bitmap)->dirty, (RECT{8, 6, 10, 8}));

    RedrawGraphic();
    DrawGraphicBox(0, 3, 30, 23, 0, 255, kNoFill, 0);
    EXPECT_EQ(RecordOf(bitmap)->dirty, (RECT{0, 2, kSize, kSize}));
}

TEST_F(DrawGraphicBoxTest, WithoutACurrentTargetDrawsNothing) {
    AttachGraphic(kNoSuchHandle, 0, 0);
    DrawGraphicBox(1, 1, 10, 10, 0, 255, kSameAsOutline, 0);
    ExpectBox(0, 0, 0, 0, kWhite, kWhite);
}

}  // namespace
