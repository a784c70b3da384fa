// Memory bitmaps, attaching targets, the graphic lock and the dirty rectangle.
#include "graphics/graphic_target.h"

#include <gtest/gtest.h>

#include <utility>

#include "graphics/dirty_rectangle.h"
#include "graphics/spin_lock.h"
#include "runtime/runtime_error.h"
#include "tests/support/pixel_test_support.h"

namespace {

void Mark(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, Widening widening = Widening::None) {
    CurrentTargetLock lock;
    ASSERT_NE(lock.get(), nullptr);
    MarkGraphicDirty(std::move(lock), x1, y1, x2, y2, widening);
}

TEST(NewGraphicBitmap, MakesABufferedTargetWithTheDefaultFontAndColours) {
    CreateInitialFontTable();
    const LONG usesBefore = FindFont(1)->useCount;
    const ObjectHandle bitmap = NewGraphicBitmap(33, 21);
    ASSERT_NE(bitmap, 0u);

    const ObjectRecord* record = RecordOf(bitmap);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, kKindMemoryBitmap);
    EXPECT_EQ(record->parent, 0u);
    EXPECT_TRUE(record->flags & kFlagBuffered);
    EXPECT_EQ(record->canvasSize.cx, 33);
    EXPECT_EQ(record->canvasSize.cy, 21);
    EXPECT_EQ(record->viewSize.cx, 33);
    EXPECT_EQ(record->viewSize.cy, 21);
    EXPECT_EQ(record->dirty, (RECT{-1, -1, 0, 0}));

    BITMAP info{};
    ASSERT_TRUE(GetObjectW(BitmapOf(bitmap), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 33);
    EXPECT_EQ(info.bmHeight, 21);
    EXPECT_EQ(GetCurrentObject(record->memoryDC, OBJ_BITMAP), BitmapOf(bitmap));
    EXPECT_EQ(GetObjectType(record->previousBitmap), static_cast<DWORD>(OBJ_BITMAP));

    EXPECT_EQ(record->fontNumber, 1);
    EXPECT_EQ(GetCurrentObject(record->memoryDC, OBJ_FONT), FindFont(1)->handle);
    EXPECT_EQ(FindFont(1)->useCount, usesBefore + 1);
    EXPECT_GT(record->charHeight, 0);
    EXPECT_GT(record->averageCharWidth, 0);
    EXPECT_EQ(GetTextAlign(record->memoryDC) & TA_UPDATECP, static_cast<UINT>(TA_UPDATECP));

    EXPECT_EQ(record->foregroundColour, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(record->backgroundColour, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(record->memoryDC), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetBkColor(record->memoryDC), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(record->memoryDC), OPAQUE);
}

TEST(NewGraphicBitmap, RefusesAnEmptySize) {
    const long before = ObjectCount();
    EXPECT_EQ(NewGraphicBitmap(0, 10), 0u);
    EXPECT_EQ(NewGraphicBitmap(10, 0), 0u);
    EXPECT_EQ(NewGraphicBitmap(-4, 10), 0u);
    EXPECT_EQ(ObjectCount(), before);
}

TEST(NewGraphicBitmap, DoesNotBecomeCurrent) {
    const ObjectHandle attached = NewFilledBitmap(4, 4, 0);
    AttachGraphic(attached, 0, 0);
    const ObjectHandle created = NewFilledBitmap(4, 4, 0);
    ASSERT_NE(created, 0u);
    EXPECT_EQ(GetGraphicDC(), RecordOf(attached)->memoryDC);
}

TEST(CreateObjectRecord, RefusesASecondRecordForAHandle) {
    const ObjectHandle bitmap = NewFilledBitmap(4, 4, 0);
    const long before = ObjectCount();
    EXPECT_EQ(CreateObjectRecord(bitmap, 0, 0, kKindMemoryBitmap), nullptr);
    EXPECT_EQ(ObjectCount(), before);
    EXPECT_EQ(RecordOf(bitmap)->kind, kKindMemoryBitmap);
}

TEST(AttachGraphic, AnUnknownHandleRecordsErrorFiveAndLeavesNoTarget) {
    const ObjectHandle bitmap = NewFilledBitmap(4, 4, 0);
    AttachGraphic(bitmap, 0, 0);
    ClearErrorIndicator();
    AttachGraphic(kNoSuchHandle, 0, kAttachBuffered);
    EXPECT_EQ(ErrorIndicator(), 0xB000 | kErrorNoGraphicTarget);
    EXPECT_EQ(CurrentGraphicTarget(), 0u);
    EXPECT_EQ(GetGraphicDC(), nullptr);
    EXPECT_EQ(CurrentTargetLock().get(), nullptr);
    EXPECT_FALSE(GraphicLock().IsTaken());
    RedrawGraphic();

    ClearErrorIndicator();
    AttachGraphic(bitmap, 0, 0);
    EXPECT_EQ(ErrorIndicator(), 0);
    EXPECT_EQ(GetGraphicDC(), RecordOf(bitmap)->memoryDC);
}

TEST(AttachGraphic, AWindowThatIsNoGraphicTargetRecordsErrorFive) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    ClearErrorIndicator();
    AttachGraphic(HandleOf(button), 0, 0);
    EXPECT_EQ(ErrorIndicator(), 0xB000 | kErrorNoGraphicTarget);

    ObjectRecord* record = CreateObjectRecord(HandleOf(button), 0, kFlagControl, 1);
    ASSERT_NE(record, nullptr);
    ClearErrorIndicator();
    AttachGraphic(HandleOf(button), 0, 0);
    EXPECT_EQ(ErrorIndicator(), 0xB000 | kErrorNoGraphicTarget);
    EXPECT_EQ(CurrentGraphicTarget(), 0u);
    UnlinkObjectRecord(record);
    FreeObjectRecord(record);
    DestroyWindow(button);
}

TEST(AttachGraphic, AMemoryBitmapIsAlwaysBuffered) {
    const ObjectHandle bitmap = NewFilledBitmap(4, 4, 0);
    RecordOf(bitmap)->flags &= ~kFlagBuffered;
    AttachGraphic(bitmap, 0, 0);
    EXPECT_TRUE(RecordOf(bitmap)->flags & kFlagBuffered);
    EXPECT_EQ(CurrentGraphicTarget(), bitmap);
}

// A lock left held would make the next drawing call spin for ever, so every way an operation can
// let go of its target must free the lock.
TEST(CurrentTargetLock, EveryWayOfLettingGoFreesTheGraphicLock) {
    AttachGraphic(NewFilledBitmap(8, 8, 0), 0, 0);
    const struct {
        const char* way;
        void (*letGo)(CurrentTargetLock& lock);
    } ways[] = {
        {"leaving the scope it was handed to",
         [](CurrentTargetLock& lock) { CurrentTargetLock held(std::move(lock)); }},
        {"marking the target dirty",
         [](CurrentTargetLock& lock) { MarkGraphicDirty(std::move(lock), 1, 1, 2, 2, Widening::None); }},
        {"releasing it", [](CurrentTargetLock& lock) { lock.Release(); }},
    };
    for (const auto& way : ways) {
        CurrentTargetLock lock;
        ASSERT_NE(lock.get(), nullptr) << way.way;
        EXPECT_TRUE(GraphicLock().IsTaken()) << way.way << ": not held while the target is";
        way.letGo(lock);
        const bool held = GraphicLock().IsTaken();
        GraphicLock().Release();  // so that a fault here cannot hang the tests that follow
        EXPECT_FALSE(held) << way.way << ": still held";
        EXPECT_EQ(lock.get(), nullptr) << way.way << ": still names the target";
    }
}

class DirtyRectangleTest : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap = NewFilledBitmap(100, 80, 0);
        AttachGraphic(bitmap, 0, 0);
        RedrawGraphic();
    }
    ObjectRecord* record() const { return RecordOf(bitmap); }
    ObjectHandle bitmap = 0;
};

TEST(DirtyRectangle, ANewTargetReportsItsFirstChangeAlone) {
    const ObjectHandle bitmap = NewFilledBitmap(50, 50, 0);
    AttachGraphic(bitmap, 0, 0);
    Mark(10, 12, 20, 22);
    EXPECT_EQ(RecordOf(bitmap)->dirty, (RECT{10, 12, 20, 22}));
}

TEST_F(DirtyRectangleTest, OrdersTheCornersAndRedrawEmptiesIt) {
    Mark(30, 40, 10, 20);
    EXPECT_EQ(record()->dirty, (RECT{10, 20, 30, 40}));
    EXPECT_TRUE(record()->flags & kFlagDirty);
    EXPECT_FALSE(GraphicLock().IsTaken());
    RedrawGraphic();
    EXPECT_EQ(record()->dirty, (RECT{-1, -1, 0, 0}));
    EXPECT_FALSE(record()->flags & kFlagDirty);
    EXPECT_FALSE(GraphicLock().IsTaken());
}

TEST_F(DirtyRectangleTest, ClampsToTheCanvas) {
    Mark(-5, -6, 200, 300);
    EXPECT_EQ(record()->dirty, (RECT{0, 0, 100, 80}));
    RedrawGraphic();
    // Compared unsigned, a negative far corner lies beyond the canvas.
    Mark(-10, -10, -5, -5);
    EXPECT_EQ(record()->dirty, (RECT{0, 0, 100, 80}));
}

TEST_F(DirtyRectangleTest, GrowsToTheUnionOfTheChanges) {
    Mark(10, 10, 20, 20);
    Mark(5, 15, 15, 30);
    EXPECT_EQ(record()->dirty, (RECT{5, 10, 20, 30}));
    Mark(12, 12, 14, 14);
    EXPECT_EQ(record()->dirty, (RECT{5, 10, 20, 30}));
}

TEST_F(DirtyRectangleTest, WidensByHalfThePenAndOne) {
    Mark(10, 10, 10, 10, Widening::ByPen);
    EXPECT_EQ(record()->dirty, (RECT{9, 9, 11, 11}));
    RedrawGraphic();
    record()->penWidth = 5;
    Mark(40, 30, 50, 35, Widening::ByPen);
    EXPECT_EQ(record()->dirty, (RECT{37, 27, 53, 38}));
    record()->penWidth = 0;
}

}  // namespace
