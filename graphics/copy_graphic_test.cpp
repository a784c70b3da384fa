// Copying between graphic targets, checked pixel by pixel in memory bitmaps.
#include "graphics/copy_graphic.h"

#include <gtest/gtest.h>

#include "graphics/dirty_rectangle.h"
#include "graphics/graphic_box.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/pixel_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr std::uint32_t kSrcCopyCode = SRCCOPY;

TEST(CopyGraphic, FromALargerSourceCopiesTheTargetSizeFromTheTopLeft) {
    const ObjectHandle source = NewPatternBitmap(40, 30);
    const ObjectHandle target = NewFilledBitmap(25, 20, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, kSrcCopyCode);
    ExpectPixels(target, 25, 20, PatternColour);
}

TEST(CopyGraphic, FromASmallerSourceLeavesTheRestOfTheTarget) {
    const ObjectHandle source = NewPatternBitmap(10, 8);
    const ObjectHandle target = NewFilledBitmap(20, 16, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, 13);
    ExpectPixels(target, 20, 16, [](int x, int y) { return (x < 10 && y < 8) ? PatternColour(x, y) : kWhite; });
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

// Copied again, the same photograph covers whatever was drawn over the last copy: a box, drawing
// through the target's DC, and a change of the photograph itself in between.
TEST(CopyGraphic, AgainCoversEverythingDrawnSinceTheLastCopy) {
    const ObjectHandle source = NewPatternBitmap(30, 20);
    const ObjectHandle target = NewFilledBitmap(30, 20, kWhite);
    AttachGraphic(source, 0, 0);
    RedrawGraphic();  // shown, as the tool's photograph is once taken
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, kSrcCopyCode);
    DrawGraphicBox(3, 4, 20, 15, 0, RGB(255, 0, 0), kNoFill, 0);
    CopyGraphic(source, 0, kSrcCopyCode);
    ExpectPixels(target, 30, 20, PatternColour);
    const HDC targetDC = GetGraphicDC();
    PatBlt(targetDC, 0, 0, 30, 20, BLACKNESS);
    CopyGraphic(source, 0, kSrcCopyCode);
    ExpectPixels(target, 30, 20, PatternColour);
    CopyGraphic(source, 0, kSrcCopyCode);
    PatBlt(targetDC, 0, 0, 30, 20, BLACKNESS);  // through the DC kept from before
    CopyGraphic(source, 0, kSrcCopyCode);
    ExpectPixels(target, 30, 20, PatternColour);
    AttachGraphic(source, 0, 0);
    PatBlt(GetGraphicDC(), 5, 5, 4, 4, WHITENESS);
    RedrawGraphic();
    AttachGraphic(target, 0, 0);
    CopyGraphic(source, 0, kSrcCopyCode);
    ExpectPixels(target, 30, 20, [](int x, int y) {
        return (x >= 5 && x < 9 && y >= 5 && y < 9) ? kWhite : PatternColour(x, y);
    });
}

BOOL WINAPI FailingBitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return FALSE; }

// A copy that failed, whole or of what was drawn over, is no copy: the next one copies it all.
TEST(CopyGraphic, AgainAfterAFailedCopyGivesTheWholeSource) {
    const ObjectHandle source = NewPatternBitmap(30, 20);
    AttachGraphic(source, 0, 0);
    RedrawGraphic();
    for (const bool drawnOver : {false, true}) {
        SCOPED_TRACE(drawnOver ? "copy of what was drawn over" : "whole copy");
        const ObjectHandle target = NewFilledBitmap(30, 20, kWhite);
        AttachGraphic(target, 0, 0);
        if (drawnOver) {
            CopyGraphic(source, 0, kSrcCopyCode);
            DrawGraphicBox(3, 4, 20, 15, 0, RGB(255, 0, 0), kNoFill, 0);
        }
        {
            const ScopedImportPatch failing("gdi32.dll", "BitBlt", reinterpret_cast<const void*>(&FailingBitBlt));
            ASSERT_TRUE(failing.ok());
            CopyGraphic(source, 0, kSrcCopyCode);
        }
        CopyGraphic(source, 0, kSrcCopyCode);
        ExpectPixels(target, 30, 20, PatternColour);
    }
}

TEST(CopyGraphic, WithoutASourceOrATargetDoesNothing) {
    const ObjectHandle target = NewFilledBitmap(6, 6, kWhite);
    AttachGraphic(target, 0, 0);
    CopyGraphic(kNoSuchHandle, 0, 0);
    EXPECT_EQ(PixelOf(target, 2, 2), kWhite);
    EXPECT_EQ(RecordOf(target)->dirty.right, 0);

    const ObjectHandle source = NewPatternBitmap(6, 6);
    AttachGraphic(kNoSuchHandle, 0, 0);
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
        SCOPED_TRACE(testing::Message() << "corners " << c[0] << "," << c[1] << " " << c[2] << "," << c[3]);
        ExpectPixels(crop, 10, 8, [](int x, int y) { return PatternColour(x + 5, y + 4); });
    }
}

// The region lands with its top-left corner at the destination and is cut at the target's edges;
// equal corners copy one pixel.
TEST(CopyGraphicRegion, CopiesToTheDestinationCutAtTheTargetsEdges) {
    const struct {
        int x1, y1, x2, y2, toX, toY;
    } cases[] = {{7, 9, 7, 9, 3, 4}, {2, 3, 11, 12, 15, 12}};
    const ObjectHandle source = NewPatternBitmap(30, 30);
    for (const auto& c : cases) {
        const ObjectHandle target = NewFilledBitmap(20, 16, kWhite);
        AttachGraphic(target, 0, 0);
        CopyGraphicRegion(source, 0, c.x1, c.y1, c.x2, c.y2, c.toX, c.toY, 0);
        SCOPED_TRACE(testing::Message() << "from " << c.x1 << "," << c.y1);
        ExpectPixels(target, 20, 16, [&c](int x, int y) {
            const bool copied = x >= c.toX && x <= c.toX + c.x2 - c.x1 && y >= c.toY && y <= c.toY + c.y2 - c.y1;
            return copied ? PatternColour(x - c.toX + c.x1, y - c.toY + c.y1) : kWhite;
        });
    }
}

TEST(CopyGraphicRegion, OutsideTheTargetChangesNothingButReportsTheWholeCanvas) {
    const ObjectHandle source = NewPatternBitmap(10, 10);
    const ObjectHandle target = NewFilledBitmap(12, 9, kWhite);
    AttachGraphic(target, 0, 0);
    RedrawGraphic();
    CopyGraphicRegion(source, 0, 0, 0, 9, 9, 40, 50, 0);
    CopyGraphicRegion(source, 0, 0, 0, 9, 9, -20, -20, 0);
    ExpectPixels(target, 12, 9, [](int, int) { return kWhite; });
    EXPECT_EQ(RecordOf(target)->dirty, (RECT{0, 0, 12, 9}));
    EXPECT_TRUE(RecordOf(target)->flags & kFlagDirty);
}

}  // namespace
