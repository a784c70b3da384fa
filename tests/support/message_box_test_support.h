// Shared by tests that show message boxes: find a thread's box, read what it shows, confirm it.
#pragma once
#include <windows.h>

#include <string>

struct SeenBox {
    bool found = false;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring text;
    int buttons = 0;
    HICON icon = nullptr;
};

namespace message_box_test {

constexpr int kTextControlId = 0xFFFF;
constexpr int kPolls = 500;
constexpr DWORD kPollInterval = 20;

inline std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A message box is a dialog with the text control; other dialogs of the thread are not boxes.
inline BOOL CALLBACK KeepMessageBox(HWND window, LPARAM found) {
    if (ClassOf(window) != L"#32770" || !GetDlgItem(window, kTextControlId)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

inline HWND FindThreadMessageBox(DWORD thread) {
    HWND box = nullptr;
    EnumThreadWindows(thread, KeepMessageBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

inline BOOL CALLBACK ReadControl(HWND child, LPARAM seenBox) {
    auto& seen = *reinterpret_cast<SeenBox*>(seenBox);
    const std::wstring name = ClassOf(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(name.c_str(), L"Button") == 0 && (style & WS_VISIBLE)) ++seen.buttons;
    if (_wcsicmp(name.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        seen.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return TRUE;
}

}  // namespace message_box_test

// Waits (up to ten seconds) for the message box of `thread`, reads it and presses its OK button.
// Run it on a thread of its own while `thread` shows the box.
inline SeenBox ReadAndConfirmBox(DWORD thread) {
    using namespace message_box_test;
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
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return seen;
}
