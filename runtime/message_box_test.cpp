#include "runtime/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "runtime/literal_pool.h"
#include "runtime/text_operations.h"

namespace {

constexpr int kTextControlId = 0xFFFF;
constexpr int kPolls = 500;
constexpr DWORD kPollInterval = 20;

struct SeenBox {
    bool found = false;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring text;
    int buttons = 0;
    HICON icon = nullptr;
};

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK KeepMessageBox(HWND window, LPARAM found) {
    if (ClassOf(window) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND FindThreadMessageBox(DWORD thread) {
    HWND box = nullptr;
    EnumThreadWindows(thread, KeepMessageBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

BOOL CALLBACK ReadControl(HWND child, LPARAM seenBox) {
    auto& seen = *reinterpret_cast<SeenBox*>(seenBox);
    const std::wstring name = ClassOf(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(name.c_str(), L"Button") == 0 && (style & WS_VISIBLE)) ++seen.buttons;
    if (_wcsicmp(name.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        seen.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return TRUE;
}

// Waits for the message box of `thread`, reads it and presses its OK button.
SeenBox ReadAndConfirmBox(DWORD thread) {
    SeenBox seen;
    HWND box = nullptr;
    for (int poll = 0; poll < kPolls && !box; ++poll) {
        Sleep(kPollInterval);
        box = FindThreadMessageBox(thread);
    }
    if (!box) return seen;
    seen.found = true;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.title = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kTextControlId));
    EnumChildWindows(box, ReadControl, reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return seen;
}

// Shows the box with text and title on the stack and confirms it from another thread.
int ShowAndConfirm(TextStack& stack, std::uint32_t style, SeenBox& seen) {
    const DWORD thread = GetCurrentThreadId();
    std::thread reader([&seen, thread] { seen = ReadAndConfirmBox(thread); });
    const int result = ShowMessageBox(stack, style);
    reader.join();
    return result;
}

TEST(ShowMessageBox, ShowsTextAndTitleAndReleasesBothSlots) {
    const long live = LiveOwnedTexts();
    TextStack stack;
    PushLiteral(stack, Pool().clipboardLine);
    PushLiteral(stack, Pool().title);
    ConvertToWide(stack, 1);
    ConvertToWide(stack, 0);
    SeenBox seen;
    EXPECT_EQ(IDOK, ShowAndConfirm(stack, MB_ICONINFORMATION | MB_OK, seen));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(L"Programador", seen.title);
    EXPECT_EQ(L"Selecci\u00F3n posicionada en clipboard.", seen.text);
    EXPECT_EQ(nullptr, seen.owner);
    EXPECT_EQ(1, seen.buttons);
    EXPECT_EQ(LoadIconW(nullptr, IDI_INFORMATION), seen.icon);
    EXPECT_EQ(0, stack.Depth());
    EXPECT_EQ(live, LiveOwnedTexts());
}

TEST(ShowMessageBox, EmptyTitleGivesTheDefaultAndEmptyTextAnEmptyBox) {
    const long live = LiveOwnedTexts();
    TextStack stack;
    PushEmptyText(stack);
    PushLiteral(stack, Pool().empty);
    SeenBox seen;
    EXPECT_EQ(IDOK, ShowAndConfirm(stack, MB_OK, seen));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(L"Retazo", seen.title);
    EXPECT_EQ(L"", seen.text);
    EXPECT_EQ(0, stack.Depth());
    EXPECT_EQ(live, LiveOwnedTexts());
}

}  // namespace
