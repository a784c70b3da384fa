// New dialogs: style, caption, size and placement in pixel and dialog units.
#include "dialogs/new_dialog.h"

#include <string>

#include "tests/support/dialog_test_support.h"
#include "tool/tool_literals.h"

namespace {

using NewDialogTest = DialogTest;

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

}  // namespace

TEST_F(NewDialogTest, ToolsDialogIsAHiddenTopmostPopupOfTheDesktopsSize) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    TextStack stack;
    PushLiteral(stack, kEmptyLiteral);
    HWND dialog = Keep(NewDialog(stack, kUnitsPixels, nullptr, 0, 0, width, height, WS_POPUP, WS_EX_TOPMOST));
    ASSERT_TRUE(dialog);

    EXPECT_EQ(RectIn(dialog, nullptr), (RECT{0, 0, width, height}));
    EXPECT_EQ(StyleOf(dialog) & (WS_POPUP | WS_CAPTION | WS_VISIBLE), static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(ExtendedStyleOf(dialog) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowTextLengthW(dialog), 0);

    const DialogRecord* record = FindDialogRecord(dialog);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->flags, kFlagDialog | kFlagPixelUnits);
    EXPECT_EQ(record->kind, kKindDialog);
    EXPECT_EQ(record->style, static_cast<DWORD>(WS_POPUP | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK));
    EXPECT_EQ(record->showCommand, SW_SHOW);
    EXPECT_TRUE(record->dialogFont);
    EXPECT_EQ(record->dialogFont, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
}

TEST_F(NewDialogTest, CaptionIsSetAndReleasedOnEveryPath) {
    TextStack stack;
    PushWide(stack, "T\xEDtulo");  // Windows-1252
    HWND dialog = Keep(NewDialog(stack, kUnitsPixels, nullptr, 0, 0, 200, 100, 0, 0));
    ASSERT_TRUE(dialog);
    wchar_t title[16] = {};
    GetWindowTextW(dialog, title, 16);
    EXPECT_EQ(std::wstring(title), L"T\u00EDtulo");
    EXPECT_EQ(LiveOwnedTexts(), StartTexts());

    // A parent that no longer exists makes creation fail.
    DestroyWindow(dialog);
    PushWide(stack, "Nadie");
    EXPECT_EQ(NewDialog(stack, kUnitsPixels, dialog, 0, 0, 10, 10, WS_POPUP, 0), nullptr);
    EXPECT_EQ(stack.Depth(), 0);
}

TEST_F(NewDialogTest, PixelUnitsSizeTheClientAreaAndCentreOnTheWorkArea) {
    HWND captioned = NewTestDialog(nullptr, kUnitsPixels, 30, 40, 300, 200, 0);
    ASSERT_TRUE(captioned);
    RECT client{};
    GetClientRect(captioned, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    RECT window = RectIn(captioned, nullptr);
    EXPECT_EQ(window.left, 30);
    EXPECT_EQ(window.top, 40);
    EXPECT_GT(window.bottom - window.top, 200);  // the caption lies outside

    const RECT work = WorkArea();
    HWND centred = NewTestDialog(nullptr, kUnitsPixels, kCentre, 5, 300, 200, 0);
    ASSERT_TRUE(centred);
    window = RectIn(centred, nullptr);
    EXPECT_EQ(window.left, (work.left + work.right - (window.right - window.left)) / 2);
    EXPECT_EQ(window.top, (work.top + work.bottom - (window.bottom - window.top)) / 2);

    HWND wide = NewTestDialog(nullptr, kUnitsPixels, 7, kCentre, work.right + 200, 100, WS_POPUP);
    ASSERT_TRUE(wide);
    window = RectIn(wide, nullptr);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, (work.top + work.bottom - 100) / 2);
}

TEST_F(NewDialogTest, PlacementFollowsParentAndChildRules) {
    HWND parent = NewTestDialog(nullptr, kUnitsPixels, 100, 50, 400, 300, WS_POPUP);
    ASSERT_TRUE(parent);

    HWND owned = NewTestDialog(parent, kUnitsPixels, 10, 20, 50, 40, WS_POPUP);
    ASSERT_TRUE(owned);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), parent);
    EXPECT_EQ(RectIn(owned, nullptr).left, 110);
    EXPECT_EQ(RectIn(owned, nullptr).top, 70);
    EXPECT_EQ(FindDialogRecord(owned)->parent, HandleOf(parent));

    HWND child = NewTestDialog(parent, kUnitsPixels, -5, 7, 50, 40, WS_CHILD);
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(RectIn(child, parent).left, 0);  // raised to 0
    EXPECT_EQ(RectIn(child, parent).top, 7);

    HWND control = NewTestDialog(parent, kUnitsPixels, -5, 7, 50, 40, WS_CHILD | DS_CONTROL);
    ASSERT_TRUE(control);
    EXPECT_EQ(RectIn(control, parent).left, -5);

    HWND orphan = NewTestDialog(nullptr, kUnitsPixels, 0, 0, 50, 40, WS_CHILD | WS_VISIBLE);
    ASSERT_TRUE(orphan);
    EXPECT_EQ(StyleOf(orphan) & (WS_POPUP | WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_POPUP));
}

TEST_F(NewDialogTest, DialogUnitsLeavePlacementToTheSystem) {
    HWND dialog = NewTestDialog(nullptr, 0, 10, 20, 100, 50, WS_POPUP);
    ASSERT_TRUE(dialog);
    RECT expected{10, 20, 110, 70};
    MapDialogRect(dialog, &expected);
    ASSERT_NE(expected.right, 110);  // the font's units are not pixels
    EXPECT_EQ(RectIn(dialog, nullptr), expected);
    EXPECT_EQ(FindDialogRecord(dialog)->flags, kFlagDialog | kFlagDialogUnits);
}
