// The dialog procedure of every engine dialog: callbacks first, then the engine's defaults.
#include "dialogs/engine_dialog_proc.h"

#include "dialogs/control_classes.h"
#include "dialogs/control_colouring.h"
#include "dialogs/modal_loop.h"
#include "dialogs/release_object_record.h"
#include "graphics/graphic_control.h"
#include "dialogs/dialog_record.h"

namespace {

// The control that sent a notification to the dialog, or null for other messages.
HWND NotifyingControl(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return GetDlgItem(dialog, LOWORD(wParam)) ? reinterpret_cast<HWND>(lParam) : nullptr;
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

// Read afresh for every call: a callback may end the dialog and free its records.
DialogCallback CallbackOf(HWND window) {
    if (!window) return nullptr;
    const DialogRecord* record = FindDialogRecord(window);
    return record ? record->callback : nullptr;
}

// A message the engine is handling on this thread. A message for the same dialog handled inside
// it (a callback that sends its own dialog a message) notes the message result it leaves there.
struct Handling {
    HWND dialog;
    Handling* outer;
    LONG_PTR leftBehind = 0;
};
thread_local Handling* innermost = nullptr;

// A handled message's result, stored as the message result right before TRUE is returned, as
// DialogProc's documentation asks. The system clears it before each message, so a nonzero one
// was stored while this message was handled: by the callback, which is kept, unless it is the
// one a nested message left behind.
INT_PTR Answer(const Handling& handling, INT_PTR result) {
    const LONG_PTR stored = GetWindowLongPtrW(handling.dialog, DWLP_MSGRESULT);
    if (stored == 0 || stored == handling.leftBehind) SetWindowLongPtrW(handling.dialog, DWLP_MSGRESULT, result);
    return result;
}

void ResizeBars(HWND dialog, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const DialogRecord* record = FindDialogRecord(child);
        if (record && (record->kind == kClassStatusBar || record->kind == kClassToolbar)) {
            SendMessageA(child, WM_SIZE, wParam, lParam);
        }
    }
}

// The System menu's Close ends the dialog with result 0 unless closing is disabled.
INT_PTR CloseOnCommand(HWND dialog, const DialogRecord* record) {
    if (!(record->closeDisabled & kCloseDisabled)) DialogEnd(dialog, 0);
    return TRUE;
}

INT_PTR HandleByDefault(const Handling& handling, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = handling.dialog;
    const DialogRecord* record = FindDialogRecord(dialog);
    if (!record) return 0;
    switch (message) {
    case WM_NCDESTROY:
        ReleaseObjectRecord(dialog);
        return TRUE;
    case WM_DRAWITEM:
        return PaintGraphicControl(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (INT_PTR brush = ColourControl(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return Answer(handling, brush);
        }
        return 0;
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_CLOSE ? CloseOnCommand(dialog, record) : 0;
    case WM_SIZE:
        ResizeBars(dialog, wParam, lParam);
        return 0;
    default:
        return 0;
    }
}

INT_PTR Handle(const Handling& handling, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = handling.dialog;
    if (DialogCallback control = CallbackOf(NotifyingControl(dialog, message, wParam, lParam))) {
        if (INT_PTR result = control(dialog, message, wParam, lParam)) return Answer(handling, result);
    }
    if (DialogCallback callback = CallbackOf(dialog)) {
        if (INT_PTR result = callback(dialog, message, wParam, lParam)) return Answer(handling, result);
    }
    return HandleByDefault(handling, message, wParam, lParam);
}

}  // namespace

INT_PTR CALLBACK EngineDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // The system's own WM_INITDIALOG comes before the dialog has a record; no initial focus.
    if (message == WM_INITDIALOG) return FALSE;
    if (message == WM_ACTIVATE) return 0;
    Handling handling{dialog, innermost};
    innermost = &handling;
    const INT_PTR result = Handle(handling, message, wParam, lParam);
    innermost = handling.outer;
    for (Handling* outer = innermost; outer; outer = outer->outer) {
        if (outer->dialog != dialog) continue;
        outer->leftBehind = GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
        break;
    }
    return result;
}
