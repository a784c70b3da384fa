// Pointer numbers and the cursors they put on the screen.
#include "runtime/mouse_pointer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

HCURSOR SystemCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

TEST(SetMousePointer, ZeroHidesAndReturnsThePreviousCursor) {
    SetMousePointer(1);
    const HCURSOR arrow = SystemCursor(IDC_ARROW);
    EXPECT_EQ(arrow, SetMousePointer(0));
    EXPECT_EQ(nullptr, GetCursor());
    EXPECT_EQ(nullptr, SetMousePointer(2));
    EXPECT_EQ(SystemCursor(IDC_CROSS), GetCursor());
}

TEST(SetMousePointer, NumbersPickStandardCursors) {
    SetMousePointer(4);
    EXPECT_EQ(SystemCursor(IDC_ARROW), GetCursor());
    SetMousePointer(11);
    EXPECT_EQ(SystemCursor(IDC_WAIT), GetCursor());
    EXPECT_EQ(SystemCursor(IDC_WAIT), SetMousePointer(1));
    EXPECT_EQ(SystemCursor(IDC_ARROW), GetCursor());
}

TEST(SetMousePointer, NumbersAboveThirteenAreCursorHandles) {
    const HCURSOR wait = SystemCursor(IDC_WAIT);
    SetMousePointer(0);
    SetMousePointer(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(wait)));
    EXPECT_EQ(wait, GetCursor());
}

}  // namespace
