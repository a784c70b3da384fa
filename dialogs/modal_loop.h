// Running an engine dialog modally, ending it, and the engine's dialog procedure.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

// Calls `callback` with a synthesized WM_INITDIALOG and WM_SIZE, attaches it, shows the dialog
// and pumps the thread's messages until the dialog window is gone.
void ShowDialogModal(HWND dialog, DialogCallback callback, std::int32_t* resultVariable);
// Stores the result, sends WM_CLOSE, re-enables the owner and destroys the dialog.
void DialogEnd(HWND dialog, std::int32_t result);
INT_PTR CALLBACK EngineDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Releases a window's record, its child controls' records first.
void ReleaseObjectRecord(HWND window);
