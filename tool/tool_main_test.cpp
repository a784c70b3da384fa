// The main routine run inside the test program: the warning and exit code when there is no
// photograph to select from, and the crosshair, the pointer's confinement and the pen settings
// over the full-screen overlay.
#include "tool/tool_main.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>
#include <tpcshrd.h>

#include <iterator>
#include <string>
#include <thread>

#include "runtime/font_table.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/message_box_test_support.h"
#include "tests/support/rect_test_support.h"
#include "tool/tool_state.h"

namespace {

constexpr int kPolls = 500;
constexpr DWORD kPollInterval = 20;

// The patched function fails its `failingCall`-th call (from 1) and passes the others on.
const ScopedImportPatch* patch;
int failingCall;
int calls;

bool FailsThisCall() { return ++calls == failingCall; }

HWND WINAPI FailingCreateDialog(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC procedure,
                                LPARAM parameter) {
    if (FailsThisCall()) return nullptr;
    return patch->original<decltype(&CreateDialogIndirectParamW)>()(instance, dialogTemplate, parent, procedure,
                                                                     parameter);
}

HBITMAP WINAPI FailingCreateCompatibleBitmap(HDC dc, int width, int height) {
    if (FailsThisCall()) return nullptr;
    return patch->original<decltype(&CreateCompatibleBitmap)>()(dc, width, height);
}

BOOL WINAPI FailingBitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                          DWORD operation) {
    if (FailsThisCall()) return FALSE;
    return patch->original<decltype(&BitBlt)>()(target, x, y, width, height, source, sourceX, sourceY, operation);
}

struct FaultPoint {
    const char* what;
    const char* dll;
    const char* function;
    const void* replacement;
    int failingCall;
};

// The control's backing store is made when the control is added, the screen bitmap and the
// copy from the screen when the dialog starts.
const FaultPoint kFaultPoints[] = {
    {"the dialog", "user32.dll", "CreateDialogIndirectParamW", reinterpret_cast<const void*>(FailingCreateDialog), 1},
    {"the control's backing store", "gdi32.dll", "CreateCompatibleBitmap",
     reinterpret_cast<const void*>(FailingCreateCompatibleBitmap), 1},
    {"the screen bitmap", "gdi32.dll", "CreateCompatibleBitmap",
     reinterpret_cast<const void*>(FailingCreateCompatibleBitmap), 2},
    {"the copy from the screen", "gdi32.dll", "BitBlt", reinterpret_cast<const void*>(FailingBitBlt), 1},
};

// The tool's dialog once it is on the screen, or null when it does not appear in time.
HWND WaitForShownDialog() {
    for (int poll = 0; poll < kPolls; ++poll) {
        const HWND dialog = Tool().dialog;
        if (dialog && IsWindowVisible(dialog)) return dialog;
        Sleep(kPollInterval);
    }
    return nullptr;
}

// Escape's way out, for a run that waits for a selection the test will not make.
void CancelSelection(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }

// Runs the main routine on this thread, set up as the process start would, while `driver`
// does its part on a second thread.
template <typename Driver>
int RunToolMain(Driver driver) {
    ClearToolState();
    CreateInitialFontTable();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    std::thread second(driver, GetCurrentThreadId());
    const int exitCode = ToolMain(GetModuleHandleW(nullptr), nullptr, L"", SW_SHOWNORMAL);
    second.join();
    return exitCode;
}

// The cursor on the screen, once the tool's thread has handled what was queued for it.
HCURSOR ShownCursor(HWND dialog) {
    SendMessageW(dialog, WM_NULL, 0, 0);
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

// A real move of the pointer to another place over the overlay; returns once the tool has
// tracked the pointer there.
void MovePointer(HWND) {
    POINT from{};
    GetCursorPos(&from);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const POINT to{from.x > width / 2 ? width / 4 : width * 3 / 4, height / 2};
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = static_cast<LONG>((to.x * 65536 + width - 1) / width);
    move.mi.dy = static_cast<LONG>((to.y * 65536 + height - 1) / height);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
    for (int poll = 0; poll < kPolls; ++poll) {
        POINT now{};
        GetCursorPos(&now);
        const POINT tracked = Tool().current;
        if ((now.x != from.x || now.y != from.y) && tracked.x == now.x && tracked.y == now.y) return;
        Sleep(kPollInterval);
    }
}

// The system's announcement of a mouse message over the client area, without the message.
void SendSetCursor(HWND dialog) {
    SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// A press on the overlay near its top left corner, handled before this returns.
void PressOnOverlay(HWND dialog) { SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }

// The tool's latest request to confine the pointer, passed on to the system. Recorded, because
// on a single monitor the overlay covers all the pointer can reach: confined looks like free.
struct ClipRequest {
    bool made;
    bool confines;
    RECT rect;
};
ClipRequest lastClip;

BOOL WINAPI RecordingClipCursor(const RECT* rect) {
    lastClip = {true, rect != nullptr, rect ? *rect : RECT{}};
    return patch->original<decltype(&ClipCursor)>()(rect);
}

constexpr wchar_t kPenServiceProperty[] = L"MicrosoftTabletPenServiceProperty";
// The overlay's pen property when the window system was about to tell it its last message.
HANDLE penPropertyAtLastMessage;

LRESULT CALLBACK WatchLastMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (message->message == WM_NCDESTROY && message->hwnd == Tool().dialog) {
        penPropertyAtLastMessage = GetPropW(message->hwnd, kPenServiceProperty);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOW*) { return TRUE; }

}  // namespace

TEST(ToolMain, WithoutAPhotographItWarnsTouchesNothingAndExitsWith255) {
    for (const FaultPoint& fault : kFaultPoints) {
        SCOPED_TRACE(fault.what);
        DeleteFileW(L"Retazo.bmp");
        const DWORD clipboardBefore = GetClipboardSequenceNumber();
        SeenBox box;
        int exitCode = 0;
        {
            ScopedImportPatch failing(fault.dll, fault.function, fault.replacement);
            ASSERT_TRUE(failing.ok()) << fault.function << " is not imported";
            patch = &failing;
            failingCall = fault.failingCall;
            calls = 0;
            exitCode = RunToolMain([&box](DWORD toolThread) {
                box = ReadAndConfirmBox(toolThread);
                // A run that went on to the selection ends as Escape would end it.
                if (!box.found) CancelSelection(Tool().dialog);
            });
        }
        EXPECT_EQ(exitCode, 255);
        EXPECT_EQ(GetClipboardSequenceNumber(), clipboardBefore) << "the clipboard changed";
        EXPECT_EQ(GetFileAttributesW(L"Retazo.bmp"), INVALID_FILE_ATTRIBUTES) << "Retazo.bmp was written";
        if (!box.found) {
            ADD_FAILURE() << "no box";
            continue;
        }
        EXPECT_EQ(box.title, L"Programador");
        EXPECT_EQ(box.text, L"No se pudo capturar la pantalla.");
        EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_WARNING));
        EXPECT_EQ(box.buttons, 1);
    }
}

TEST(ToolMain, ThePointerOverTheOverlayIsTheCrosshair) {
    struct Step {
        const char* what;
        void (*act)(HWND dialog);
    };
    static const Step kSteps[] = {{"a pointer move", MovePointer}, {"WM_SETCURSOR", SendSetCursor}};
    HCURSOR shown[std::size(kSteps)] = {};
    const int exitCode = RunToolMain([&shown](DWORD) {
        const HWND dialog = WaitForShownDialog();
        for (std::size_t i = 0; dialog && i < std::size(kSteps); ++i) {
            kSteps[i].act(dialog);
            shown[i] = ShownCursor(dialog);
        }
        CancelSelection(Tool().dialog);
    });
    EXPECT_EQ(exitCode, 0);
    for (std::size_t i = 0; i < std::size(kSteps); ++i) {
        EXPECT_EQ(shown[i], LoadCursorW(nullptr, IDC_CROSS)) << "after " << kSteps[i].what;
    }
}

// Every end of the dialog, the release's too, goes through its destruction, as Escape's does.
TEST(ToolMain, ThePointerStaysOnTheOverlayFromThePressUntilTheToolLetsGo) {
    struct WayOut {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    static const WayOut kWaysOut[] = {
        {"Escape", WM_COMMAND, IDCANCEL},
        {"another program's activation", WM_ACTIVATEAPP, FALSE},
        {"a cancelled mode", WM_CANCELMODE, 0},
    };
    for (const WayOut& way : kWaysOut) {
        SCOPED_TRACE(way.what);
        RECT overlay{};
        ClipRequest confined{}, freed{};
        ScopedImportPatch recording("user32.dll", "ClipCursor", reinterpret_cast<const void*>(&RecordingClipCursor));
        ASSERT_TRUE(recording.ok());
        patch = &recording;
        lastClip = {};
        RunToolMain([&](DWORD) {
            const HWND dialog = WaitForShownDialog();
            GetWindowRect(dialog, &overlay);
            PressOnOverlay(dialog);
            confined = lastClip;
            SendMessageW(dialog, way.message, way.wParam, 0);
            freed = lastClip;
            CancelSelection(dialog);
        });
        EXPECT_TRUE(confined.confines) << "not confined after the press";
        EXPECT_EQ(confined.rect, overlay);
        EXPECT_TRUE(freed.made && !freed.confines) << "still confined";
    }
}

// Where the pointer could leave the overlay, a release beside it ends the selection on its edge.
TEST(ToolMain, AReleaseBesideThePhotographSelectsUpToItsEdge) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SeenBox box;
    {
        ScopedImportPatch shell("shell32.dll", "ShellExecuteExW", reinterpret_cast<const void*>(&RecordingShellExecuteEx));
        ASSERT_TRUE(shell.ok());
        RunToolMain([&](DWORD toolThread) {
            const HWND dialog = WaitForShownDialog();
            PressOnOverlay(dialog);
            PostMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(width + 50, height + 50));
            box = ReadAndConfirmBox(toolThread);
        });
    }
    DeleteFileW(L"Retazo.bmp");
    const std::wstring size = L"Dimensi\u00F3n:  " + std::to_wstring(width - 10) + L" x " + std::to_wstring(height - 10);
    EXPECT_NE(box.text.find(size), std::wstring::npos) << "the report reads " << testing::PrintToString(box.text);
}

// Set before the overlay is shown, removed while it is destroyed, its atom released afterwards.
TEST(ToolMain, TheOverlayTakesPenAndTouchAsPlainMouseInputWhileItIsShown) {
    HANDLE shown = nullptr;
    penPropertyAtLastMessage = reinterpret_cast<HANDLE>(-1);
    RunToolMain([&](DWORD toolThread) {
        const HWND dialog = WaitForShownDialog();
        shown = GetPropW(dialog, kPenServiceProperty);
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchLastMessage, nullptr, toolThread);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        UnhookWindowsHookEx(hook);
    });
    const ULONG_PTR plainMouseInput = TABLET_DISABLE_PRESSANDHOLD | TABLET_DISABLE_PENTAPFEEDBACK |
                                      TABLET_DISABLE_PENBARRELFEEDBACK | TABLET_DISABLE_FLICKS;
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(shown), plainMouseInput);
    EXPECT_EQ(penPropertyAtLastMessage, nullptr);
    EXPECT_EQ(GlobalFindAtomW(kPenServiceProperty), 0) << "the atom outlives the overlay";
}
