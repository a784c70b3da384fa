// The graphic control's window procedure: keys and focus; mouse input passes through.
#include "graphics/graphic_control_proc.h"

#include <cstdint>

#include "graphics/object_list.h"

namespace {

// Scan codes of the keys told apart here, as key messages carry them in lParam's high word.
constexpr unsigned kScanEnter = 0x1C;  // with the extended flag, keypad Enter
constexpr unsigned kScanSlash = 0x35;  // with the extended flag, keypad slash
constexpr unsigned kScanCapsLock = 0x3A;
constexpr unsigned kScanF1 = 0x3B;
constexpr unsigned kScanF10 = 0x44;
constexpr unsigned kScanNumLock = 0x45;     // Pause, too
constexpr unsigned kScanScrollLock = 0x46;  // Break, too
constexpr unsigned kScanKeypad7 = 0x47;     // the first key of the keypad's block
constexpr unsigned kScanKeypadMinus = 0x4A;
constexpr unsigned kScanKeypadPlus = 0x4E;
constexpr unsigned kScanKeypadPoint = 0x53;  // the last key of the keypad's block
constexpr unsigned kScanF11 = 0x57;
constexpr unsigned kScanF12 = 0x58;

unsigned ScanCode(LPARAM lParam) { return LOBYTE(HIWORD(lParam)); }
// The scan code where lParam carries it, which is how the record keeps the last key.
std::uint32_t ScanCodeByte(LPARAM lParam) { return static_cast<std::uint32_t>(lParam) & 0x00FF0000; }
bool IsExtendedKey(LPARAM lParam) { return (HIWORD(lParam) & KF_EXTENDED) != 0; }

// Keypad digits act as movement keys when Num Lock is off, or on with Shift held.
bool KeypadMoves() {
    const bool numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    return !numLock || GetKeyState(VK_SHIFT) < 0;
}

// Function keys and the movement keys, which the control keeps from the dialog.
bool IsSpecialKey(LPARAM lParam) {
    const unsigned scan = ScanCode(lParam);
    if (IsExtendedKey(lParam)) {
        // Keypad Enter and slash, and the lock and pause keys, are left to the dialog.
        return scan != kScanEnter && scan != kScanSlash && scan != kScanCapsLock && scan != kScanNumLock &&
               scan != kScanScrollLock;
    }
    if ((scan >= kScanF1 && scan <= kScanF10) || scan == kScanF11 || scan == kScanF12) return true;
    if (scan >= kScanKeypad7 && scan <= kScanKeypadPoint && scan != kScanKeypadMinus && scan != kScanKeypadPlus) {
        return KeypadMoves();
    }
    return false;
}

// The control has no scroll bars; the wheel is turned into line scrolls for its own procedure.
void ScrollByWheel(HWND window, WPARAM wParam) {
    const short delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (delta == 0) return;
    const UINT message = (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(window, message, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
}

}  // namespace

LRESULT CALLBACK GraphicControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ObjectRecord* record = FindObjectRecord(HandleOf(window));
    if (!record) return 0;
    // Kept aside: a message sent below (focus changes) may release the record.
    const WNDPROC previous = record->previousWindowProc;
    switch (message) {
    case WM_KEYDOWN:
        if (IsSpecialKey(lParam)) {
            record->lastKey = ScanCodeByte(lParam);
            return 0;
        }
        break;
    case WM_SYSKEYDOWN:
        // F10 would otherwise open the dialog's menu.
        if (!IsExtendedKey(lParam) && ScanCode(lParam) == kScanF10) {
            record->lastKey = ScanCodeByte(lParam);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam != '\t') {
            record->lastKey = static_cast<std::uint32_t>(wParam);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        break;
    case WM_SETFOCUS:
        record->flags |= kFlagHasFocus;
        break;
    case WM_KILLFOCUS:
        record->flags &= ~kFlagHasFocus;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_MOUSEWHEEL:
        ScrollByWheel(window, wParam);
        return 0;
    default:
        break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}
