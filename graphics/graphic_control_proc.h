// The graphic control's window procedure: keys and focus; mouse input passes through.
#pragma once
#include <windows.h>

// Set on each graphic control by SetUpGraphicControl. It keeps function keys, movement keys and
// characters from the dialog and records the last one in the control's record; everything else
// goes on to the control's previous procedure.
LRESULT CALLBACK GraphicControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
