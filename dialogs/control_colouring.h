// Colours of controls that were given a text and background colour of their own.
#pragma once
#include <windows.h>

// The answer to a WM_CTLCOLOR* message for `control`: 0 when it has no colours of its own, so
// the system's apply; otherwise its colours set in `dc` and the brush to paint with.
INT_PTR ColourControl(UINT message, HDC dc, HWND control);
