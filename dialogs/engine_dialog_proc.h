// The dialog procedure of every engine dialog: callbacks first, then the engine's defaults.
#pragma once
#include <windows.h>

// Offers each message to the sending control's callback (for control notifications), then to
// the dialog callback; a nonzero answer is final. Otherwise the engine paints graphic
// controls, colours controls, ends the dialog on the Close command and releases the records
// at WM_NCDESTROY.
INT_PTR CALLBACK EngineDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
