// Pointer numbers and the cursors they put on the screen.
#include "runtime/mouse_pointer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

HCURSOR SystemCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

TEST(SetMousePointer, ZeroHidesAndReturnsThePreviousCursor) {
    SetMousePointer(1);
    const HCURSOR arrow = SystemCursor(IDC_ARROW);
    EXPECT_EQ(SetMousePointer(0), arrow);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SetMousePointer(2), nullptr);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_CROSS));
}

TEST(SetMousePointer, NumbersPickStandardCursors) {
    SetMousePointer(4);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));
    SetMousePointer(11);
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_WAIT));
    EXPECT_EQ(SetMousePointer(1), SystemCursor(IDC_WAIT));
    EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));
}

TEST(SetMousePointer, NumbersAboveThirteenAreCursorHandles) {
    const HCURSOR wait = SystemCursor(IDC_WAIT);
    SetMousePointer(0);
    SetMousePointer(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(wait)));
    EXPECT_EQ(GetCursor(), wait);
}

}  // namespace
