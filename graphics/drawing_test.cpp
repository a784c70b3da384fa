// Copy and box drawing, checked pixel by pixel in memory bitmaps.
#include "graphics/drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "graphics/pixel_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr std::uint32_t kSrcCopyCode = 0x00CC0020;

// Where a box's one-pixel outline lies: columns left..right-1, rows top..bottom-1.
bool OnOutline(int x, int y, int left, int top, int right, int bottom) {
    const bool inColumns = x >= left && x <= right - 1;
    const bool inRows = y >= top && y <= bottom - 1;
    return (inColumns && (y == top || y == bottom - 1)) || (inRows && (x == left || x == right - 1));
}

bool Inside(int x, int y, int left, int top, int right, int bottom) {
    return x > left && x < right - 1 && y > top && y < bottom - 1;
}

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

TEST(MixTable, SelectsTheTableEntryAndSrcCopyOutside) {
    const DWORD expected[16] = {SRCCOPY, SRCCOPY, NOTSRCERASE, SRCCOPY, NOTSRCCOPY, SRCERASE, SRCCOPY, SRCINVERT,
                                SRCCOPY, SRCAND,  SRCCOPY,     SRCCOPY, MERGEPAINT, SRCCOPY,  SRCCOPY, SRCPAINT};
    for (std::uint32_t mix = 0; mix < 16; ++mix) EXPECT_EQ(RasterOperationOfMix(mix), expected[mix]) << mix;
    EXPECT_EQ(RasterOperationOfMix(16), static_cast<DWORD>(SRCCOPY));
    EXPECT_EQ(RasterOperationOfMix(kSrcCopyCode), static_cast<DWORD>(SRCCOPY));
    EXPECT_EQ(RasterOperationOfMix(0xFFFFFFFF), static_cast<DWORD>(SRCCOPY));
}

TEST(CopyGraphic, FromALargerSourceCopiesTheTargetSizeFromTheTopLeft) {
    const ObjectHandle source = NewPatternBitmap(40, 30);
    const ObjectHandle target = NewFilledBitmap(25, 20, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, kSrcCopyCode);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 25; ++x) ASSERT_EQ(PixelOf(target, x, y), PatternColour(x, y)) << x << "," << y;
    }
}

TEST(CopyGraphic, FromASmallerSourceLeavesTheRestOfTheTarget) {
    const ObjectHandle source = NewPatternBitmap(10, 8);
    const ObjectHandle target = NewFilledBitmap(20, 16, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, 13);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            const COLORREF expected = (x < 10 && y < 8) ? PatternColour(x, y) : kWhite;
            ASSERT_EQ(PixelOf(target, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CopyGraphic, MixSevenInvertsAndOutOfRangeMixesCopy) {
    const ObjectHandle source = NewFilledBitmap(8, 8, RGB(0x0F, 0xF0, 0x55));
    const ObjectHandle target = NewFilledBitmap(8, 8, RGB(0xFF, 0xFF, 0xFF));
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, 7);
    EXPECT_EQ(PixelOf(target, 3, 3), RGB(0xF0, 0x0F, 0xAA));
    for (const std::uint32_t mix : {kSrcCopyCode, 13u, 0u, 0xFFFFFFFFu}) {
        FillBitmap(target, kWhite);
        CopyGraphic(source, 0, mix);
        EXPECT_EQ(PixelOf(target, 3, 3), RGB(0x0F, 0xF0, 0x55)) << mix;
    }
}

TEST(CopyGraphic, WithoutASourceOrATargetDoesNothing) {
    const ObjectHandle target = NewFilledBitmap(6, 6, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(0x7FFF0001, 0, 0);
    EXPECT_EQ(PixelOf(target, 2, 2), kWhite);
    EXPECT_EQ(RecordOf(target)->dirty.right, 0);

    const ObjectHandle source = NewPatternBitmap(6, 6);
    AttachGraphic(0x7FFF0001, 0, 0);
    CopyGraphic(source, 0, 0);
    EXPECT_EQ(PixelOf(target, 2, 2), kWhite);
}

// The tool's crop: a new bitmap exactly the size of the selection, whatever the drag direction.
TEST(CopyGraphicRegion, CropsTheSameRectangleInAllFourDragDirections) {
    const ObjectHandle screen = NewPatternBitmap(40, 30);
    const float corners[4][4] = {{5, 4, 14, 11}, {14, 11, 5, 4}, {14, 4, 5, 11}, {5, 11, 14, 4}};
    for (const auto& c : corners) {
        const ObjectHandle crop = NewFilledBitmap(10, 8, kWhite);
        AttachGraphic(crop, 0, 0);
        CopyGraphicRegion(screen, 0, c[0], c[1], c[2], c[3], 0, 0, kSrcCopyCode);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                ASSERT_EQ(PixelOf(crop, x, y), PatternColour(x + 5, y + 4))
                    << "corners " << c[0] << "," << c[1] << " " << c[2] << "," << c[3] << " at " << x << "," << y;
            }
        }
    }
}

TEST(CopyGraphicRegion, EqualCornersCopyOnePixel) {
    const ObjectHandle source = NewPatternBitmap(20, 20);
    const ObjectHandle target = NewFilledBitmap(10, 10, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphicRegion(source, 0, 7, 9, 7, 9, 3, 4, 0);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const COLORREF expected = (x == 3 && y == 4) ? PatternColour(7, 9) : kWhite;
            ASSERT_EQ(PixelOf(target, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CopyGraphicRegion, IsClippedAtTheTargetsEdges) {
    const ObjectHandle source = NewPatternBitmap(30, 30);
    const ObjectHandle target = NewFilledBitmap(20, 16, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphicRegion(source, 0, 2, 3, 11, 12, 15, 12, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            const COLORREF expected = (x >= 15 && y >= 12) ? PatternColour(x - 15 + 2, y - 12 + 3) : kWhite;
            ASSERT_EQ(PixelOf(target, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CopyGraphicRegion, OutsideTheTargetChangesNothingButReportsTheWholeCanvas) {
    const ObjectHandle source = NewPatternBitmap(10, 10);
    const ObjectHandle target = NewFilledBitmap(12, 9, kWhite);
    AttachGraphic(target, 0, 0);
    RedrawGraphic();
    CopyGraphicRegion(source, 0, 0, 0, 9, 9, 40, 50, 0);
    CopyGraphicRegion(source, 0, 0, 0, 9, 9, -20, -20, 0);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) ASSERT_EQ(PixelOf(target, x, y), kWhite) << x << "," << y;
    }
    const RECT dirty = RecordOf(target)->dirty;
    EXPECT_EQ(dirty.left, 0);
    EXPECT_EQ(dirty.top, 0);
    EXPECT_EQ(dirty.right, 12);
    EXPECT_EQ(dirty.bottom, 9);
    EXPECT_TRUE(RecordOf(target)->flags & kFlagDirty);
}

class DrawGraphicBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap = NewFilledBitmap(kSize, kSize, kWhite);
        AttachGraphic(bitmap, 0, 0);
    }
    // Every pixel of the bitmap: outline colour on the outline, `inside` within, white outside.
    void ExpectBox(int left, int top, int right, int bottom, COLORREF outline, COLORREF inside) {
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                COLORREF expected = kWhite;
                if (OnOutline(x, y, left, top, right, bottom)) expected = outline;
                else if (Inside(x, y, left, top, right, bottom)) expected = inside;
                ASSERT_EQ(PixelOf(bitmap, x, y), expected) << x << "," << y;
            }
        }
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
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), expected[y][x]) << x << "," << y;
        }
    }
    ObjectHandle bitmap = 0;
};

TEST_F(DrawGraphicBoxTest, HollowOutlineLeavesTheInsideUntouched) {
    DrawGraphicBox(5, 6, 15, 12, 0, 255, -2, 0);
    ExpectBox(5, 6, 15, 12, kRed, kWhite);
}

TEST_F(DrawGraphicBoxTest, CornersInAnyOrderDrawTheSameBox) {
    const float corners[3][4] = {{15, 12, 5, 6}, {15, 6, 5, 12}, {5, 12, 15, 6}};
    for (const auto& c : corners) {
        FillBitmap(bitmap, kWhite);
        DrawGraphicBox(c[0], c[1], c[2], c[3], 0, 255, -2, 0);
        ExpectBox(5, 6, 15, 12, kRed, kWhite);
    }
}

TEST_F(DrawGraphicBoxTest, RoundedCornersInAnyOrderDrawTheSameBox) {
    DrawGraphicBox(3, 4, 21, 19, 60, 255, -1, 0);
    const Snapshot expected = TakeSnapshot();
    EXPECT_EQ(expected[4][3], kWhite) << "the corner is rounded off";
    EXPECT_EQ(expected[11][12], kRed);
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(21, 19, 3, 4, 60, 255, -1, 0);
    ExpectSnapshot(expected);
}

TEST_F(DrawGraphicBoxTest, FillsWithTheOutlineColourOrItsOwn) {
    DrawGraphicBox(2, 3, 12, 10, 0, 255, -1, 0);
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
    DrawGraphicBox(4, 4, 14, 14, 0, -1, -2, 0);
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
    DrawGraphicBox(2, 2, 20, 16, 100, 255, -2, 0);
    const Snapshot expected = TakeSnapshot();
    EXPECT_EQ(expected[2][2], kWhite) << "a rounded corner leaves the corner pixel";
    FillBitmap(bitmap, kWhite);
    DrawGraphicBox(2, 2, 20, 16, 250, 255, -2, 0);
    ExpectSnapshot(expected);
}

TEST_F(DrawGraphicBoxTest, RoundingNotGivenDrawsAnEllipse) {
    DrawGraphicBox(2, 2, 20, 16, 0x80000000, 255, -2, 0);
    EXPECT_EQ(PixelOf(bitmap, 2, 2), kWhite);
    EXPECT_EQ(PixelOf(bitmap, 4, 3), kWhite);
    EXPECT_EQ(PixelOf(bitmap, 11, 2), kRed);
    EXPECT_EQ(PixelOf(bitmap, 2, 9), kRed);
}

TEST_F(DrawGraphicBoxTest, ReportsTheBoxWidenedByThePen) {
    RedrawGraphic();
    DrawGraphicBox(9, 7, 9, 7, 0, 255, -2, 0);
    RECT dirty = RecordOf(bitmap)->dirty;
    EXPECT_EQ(dirty.left, 8);
    EXPECT_EQ(dirty.top, 6);
    EXPECT_EQ(dirty.right, 10);
    EXPECT_EQ(dirty.bottom, 8);

    RedrawGraphic();
    DrawGraphicBox(0, 3, 30, 23, 0, 255, -2, 0);
    dirty = RecordOf(bitmap)->dirty;
    EXPECT_EQ(dirty.left, 0);
    EXPECT_EQ(dirty.top, 2);
    EXPECT_EQ(dirty.right, kSize);
    EXPECT_EQ(dirty.bottom, kSize);
}

TEST_F(DrawGraphicBoxTest, WithoutACurrentTargetDrawsNothing) {
    AttachGraphic(0x7FFF0001, 0, 0);
    DrawGraphicBox(1, 1, 10, 10, 0, 255, -1, 0);
    ExpectBox(0, 0, 0, 0, kWhite, kWhite);
}

}  // namespace
