// The drag kept on the photograph: the pointer confined to the overlay, the corners to the picture.
#pragma once
#include <windows.h>

// From the press to the end of the selection the pointer cannot leave the overlay. Beside it,
// over a second monitor, the release would go to the window there and the selection would never
// end. Capture would keep the release too, but it stops the WM_SETCURSOR that tracking reads.
void ConfinePointer(HWND overlay);
// Frees the pointer if the tool confined it: the cursor is shared with every other program.
void FreePointer();
// The nearest pixel of the photograph: a corner read while the pointer was free to leave it must
// not select pixels that the photograph does not have.
POINT OnPhotograph(POINT point);
