// Running an engine dialog modally, and ending it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_record.h"

// Bit of a dialog record's close-disabled field: the Close command is ignored.
constexpr std::uint32_t kCloseDisabled = 1;

// Calls `callback` with a synthesized WM_INITDIALOG (wParam = the dialog) and WM_SIZE (the
// client size) while the dialog is hidden, then attaches it, disables the owner, shows the
// dialog and pumps the thread's messages until the dialog window is gone. Either argument
// after the dialog may be null.
void ShowDialogModal(HWND dialog, DialogCallback callback, std::int32_t* resultVariable);
// Stores the result, sends WM_CLOSE, re-enables the owner and destroys the dialog, whose
// records are released at its WM_NCDESTROY. Safe to call from inside the dialog's callback.
void DialogEnd(HWND dialog, std::int32_t result);
