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

// Every wake bit that Vista knows: QS_ALLINPUT as its headers define it (0x4FF), whatever
// headers build this. Windows 8 and later also deliver pen and touch as WM_POINTER messages,
// which become mouse messages only once DefWindowProc has handled them: a wait without
// QS_TOUCH (0x800) and QS_POINTER (0x1000), which Vista's headers lack, sleeps with them queued.
constexpr DWORD kVistaInput =
    QS_KEY | QS_MOUSE | QS_RAWINPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE;
static_assert(kVistaInput == 0x04FF);
constexpr DWORD kQsTouch = 0x0800;
constexpr DWORD kQsPointer = 0x1000;
constexpr DWORD kEveryInput = kVistaInput | kQsTouch | kQsPointer;

// Sleeps until the thread has a message of any kind, sent messages included. A Windows that
// refuses wake bits it does not know fails the wait at once (ERROR_INVALID_PARAMETER); each
// failure lowers the mask for the rest of the run, to the bits that Vista knows and then to
// WaitMessage, which takes none, so a wait that fails never turns the loop into a busy one.
class MessageWait {
public:
    void operator()() {
        while (mask_) {
            if (MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, mask_, MWMO_INPUTAVAILABLE) != WAIT_FAILED) return;
            mask_ = mask_ == kEveryInput ? kVistaInput : 0;
        }
        // Should even that fail, the loop polls once a millisecond rather than spin.
        if (!WaitMessage()) Sleep(1);
    }

private:
    DWORD mask_ = kEveryInput;
};

// Waits for the next message when idle; an owner that asked for idle notices gets them steadily
// instead, polled once a millisecond. Polling costs the wineserver and every process of the
// session a round trip a thousand times a second, all through a drag, so it is kept for the
// owner that asks for it. Ends after the message whose handling destroyed the dialog, or on
// finding it gone when idle.
void PumpUntilGone(HWND dialog, HWND owner, bool idleNotices) {
    MessageWait waitForMessage;
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
                waitForMessage();
            }
        }
    }
}

// A process's first ShowWindow may obey the launcher's show command instead of its own (a
// shortcut's "Run: Minimized", start /min, a hidden start), which would leave the dialog hidden
// or iconic while its user waits. The calls after the first are obeyed, so a second one puts
// right what the first left wrong; neither SW_RESTORE nor SW_MAXIMIZE is a command that the
// launcher's may replace. A dialog made to be minimized is left as it came.
void ShowAsAsked(HWND dialog, int showCommand) {
    ShowWindow(dialog, showCommand);
    if (showCommand == SW_MINIMIZE || !IsWindow(dialog)) return;
    const bool maximized = showCommand == SW_MAXIMIZE;
    if (IsWindowVisible(dialog) && !IsIconic(dialog) && (IsZoomed(dialog) != FALSE) == maximized) return;
    ShowWindow(dialog, maximized ? SW_MAXIMIZE : SW_RESTORE);
}

}  // namespace

void ShowDialogModal(HWND dialog, DialogCallback callback, std::int32_t* resultVariable) {
    // The callback photographs the screen in its WM_INITDIALOG: the user's window must still be
    // active then, with its menus and tooltips open, so the dialog takes the foreground after.
    if (callback) {
        callback(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0);
        callback(dialog, WM_SIZE, FirstSizeType(dialog), ClientSize(dialog));
    }
    SetForegroundWindow(dialog);
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
    ShowAsAsked(dialog, showCommand);
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
