// Running an engine dialog modally, and ending it.
#include "dialogs/modal_loop.h"

#include <utility>

namespace {

WPARAM FirstSizeType(HWND dialog) {
    const DialogRecord* record = FindDialogRecord(dialog);
    if (!record) return SIZE_RESTORED;
    if (record->showCommand == SW_MAXIMIZE) return SIZE_MAXIMIZED;
    if (record->showCommand == SW_MINIMIZE) return SIZE_MINIMIZED;
    return SIZE_RESTORED;
}

LPARAM ClientSize(HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    return MAKELPARAM(client.right, client.bottom);
}

// The dialog's accelerators and keyboard navigation. True when they consumed the message,
// which then is not dispatched again.
bool TranslateForDialog(HWND dialog, MSG& message) {
    if (!IsWindow(dialog)) return false;
    const DialogRecord* record = FindDialogRecord(dialog);
    HACCEL table = record ? record->acceleratorTable : nullptr;
    if (table && TranslateAcceleratorW(dialog, table, &message)) return true;
    return IsDialogMessageW(dialog, &message);
}

// Waits for the next message when idle; an owner that asked for idle notices gets them steadily
// instead, polled once a millisecond. Polling costs the wineserver and every process of the
// session a round trip a thousand times a second, all through a drag, so it is kept for the
// owner that asks for it. Ends after the message whose handling destroyed the dialog, or on
// finding it gone when idle.
void PumpUntilGone(HWND dialog, HWND owner, bool idleNotices) {
    for (;;) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!TranslateForDialog(dialog, message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (!IsWindow(dialog)) return;
        } else {
            if (!IsWindow(dialog)) return;
            if (idleNotices) {
                SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
                Sleep(1);
            } else {
                // Wakes for anything PeekMessageW would handle, sent messages included.
                MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            }
        }
    }
}

}  // namespace

void ShowDialogModal(HWND dialog, DialogCallback callback, std::int32_t* resultVariable) {
    SetForegroundWindow(dialog);
    if (callback) {
        callback(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
        callback(dialog, WM_SIZE, FirstSizeType(dialog), ClientSize(dialog));
    }
    DialogRecord* record = FindDialogRecord(dialog);
    if (!record) return;
    record->callback = callback;
    record->flags |= kFlagShownModally;
    record->resultVariable = resultVariable;
    // Everything the loop needs from the record is read now: it is freed when the dialog ends.
    const HWND owner = WindowOf(record->parent);
    const bool idleNotices = owner && !(record->style & DS_NOIDLEMSG);
    const int showCommand = record->showCommand;

    if (owner) {
        SendMessageA(owner, WM_CANCELMODE, 0, 0);
        EnableWindow(owner, FALSE);
    }
    ShowWindow(dialog, showCommand);
    PumpUntilGone(dialog, owner, idleNotices);
    if (owner) {
        // DialogEnd has done so already, unless the dialog was destroyed some other way.
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
}

void DialogEnd(HWND dialog, std::int32_t result) {
    DialogRecord* record = FindDialogRecord(dialog);
    // A dialog being ended keeps its record until WM_NCDESTROY; ending it again from its
    // WM_CLOSE or WM_DESTROY (or from a message box shown there) would destroy it twice.
    if (!record || (record->flags & kFlagBeingDestroyed)) return;
    if (record->resultVariable) *record->resultVariable = result;
    record->closeDisabled &= ~kCloseDisabled;
    // Marked before WM_CLOSE: a callback that answers it with DialogEnd must not recurse.
    record->flags |= kFlagBeingDestroyed;
    SendMessageA(dialog, WM_CLOSE, 0, 0);

    // The callback may have destroyed the window itself while it handled WM_CLOSE.
    record = FindDialogRecord(dialog);
    if (!record) return;
    const HWND owner = WindowOf(record->parent);
    const HACCEL table = std::exchange(record->acceleratorTable, nullptr);
    if (owner) EnableWindow(owner, TRUE);
    if (table) DestroyAcceleratorTable(table);
    DestroyWindow(dialog);
}
