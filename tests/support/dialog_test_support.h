// What the dialog engine tests share: start-up state, a recording dialog callback, bounded
// modal runs, and a check that every test leaves no records, windows or texts behind.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "dialogs/add_control.h"
#include "dialogs/control_classes.h"
#include "dialogs/modal_loop.h"
#include "dialogs/new_dialog.h"
#include "runtime/font_table.h"
#include "runtime/text_operations.h"
#include "tests/support/message_sequence_test_support.h"
#include "tests/support/rect_test_support.h"

// Pushes `text` (Windows-1252) as the owned UTF-16 text that a caller's conversion leaves.
inline void PushWide(TextStack& stack, const char* text) {
    PushFixedText(stack, text);
    ConvertToWide(stack, 0);
}

// What the recording callback saw, in order, and how it answers (0 without a reaction).
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool visible;
};
inline std::vector<Seen> seen;
inline std::int32_t (*reaction)(HWND, UINT, WPARAM, LPARAM) = nullptr;

inline std::int32_t RecordingCallback(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({message, wParam, lParam, IsWindowVisible(dialog) != FALSE});
    return reaction ? reaction(dialog, message, wParam, lParam) : 0;
}

// Runs the dialog modally with the recording callback. A run that does not come back within
// the bound ends the test program instead of letting the whole test time out.
inline DWORD WINAPI WatchModalRun(void* done) {
    if (WaitForSingleObject(done, 30000) == WAIT_TIMEOUT) {
        std::fputs("modal run did not end\n", stderr);
        std::fflush(stderr);
        ExitProcess(3);
    }
    return 0;
}

inline void RunModal(HWND dialog, std::int32_t* result) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE watcher = CreateThread(nullptr, 0, WatchModalRun, done, 0, nullptr);
    ShowDialogModal(dialog, RecordingCallback, result);
    SetEvent(done);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    CloseHandle(done);
}

// Common Controls 6 for one scope, as the product runs: the test program has no manifest of its
// own, so the controls it creates outside such a scope are version 5.
class ScopedCommonControls6 {
public:
    ScopedCommonControls6() {
        wchar_t program[MAX_PATH];
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        ACTCTXW manifest{};
        manifest.cbSize = sizeof manifest;
        manifest.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        manifest.lpSource = program;
        manifest.hModule = GetModuleHandleW(nullptr);
        manifest.lpResourceName = L"COMMON_CONTROLS_6";
        context_ = CreateActCtxW(&manifest);
        if (ok() && !ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ~ScopedCommonControls6() {
        if (!ok()) return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }
    ScopedCommonControls6(const ScopedCommonControls6&) = delete;
    ScopedCommonControls6& operator=(const ScopedCommonControls6&) = delete;
    bool ok() const { return context_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateInitialFontTable();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        seen.clear();
        reaction = nullptr;
        startObjects_ = ObjectCount();
        startTexts_ = LiveOwnedTexts();
    }
    void TearDown() override {
        for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
            if (IsWindow(*window)) DestroyWindow(*window);
        }
        EXPECT_EQ(ObjectCount(), startObjects_);
        EXPECT_EQ(LiveOwnedTexts(), startTexts_);
    }
    // A dialog with an owned caption, destroyed after the test if still there.
    HWND NewTestDialog(HWND parent, std::uint32_t units, std::int32_t x, std::int32_t y, std::int32_t width,
                       std::int32_t height, std::uint32_t style) {
        TextStack stack;
        PushWide(stack, "Prueba");
        return Keep(NewDialog(stack, units, parent, x, y, width, height, style, 0));
    }
    // Adds a control at (0, 0) with owned texts and returns its window.
    static HWND Add(HWND dialog, std::int32_t classIndex, std::int32_t id, std::int32_t width, std::int32_t height,
                    std::uint32_t style, std::uint32_t extendedStyle = 0, const char* caption = "x",
                    DialogCallback callback = nullptr) {
        TextStack stack;
        PushWide(stack, "BUTTON");
        PushWide(stack, caption);
        AddControl(stack, classIndex, dialog, id, nullptr, 0, 0, width, height, style, extendedStyle, callback);
        EXPECT_EQ(stack.Depth(), 0);
        return GetDlgItem(dialog, id);
    }
    HWND Keep(HWND window) {
        windows_.push_back(window);
        return window;
    }
    long StartObjects() const { return startObjects_; }
    long StartTexts() const { return startTexts_; }

private:
    std::vector<HWND> windows_;
    long startObjects_ = 0;
    long startTexts_ = 0;
};

inline DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }
inline DWORD ExtendedStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)); }

// The window's rectangle in the client coordinates of `frame` (the screen for null).
inline RECT RectIn(HWND window, HWND frame) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
