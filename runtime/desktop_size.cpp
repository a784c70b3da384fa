// The size of the primary display, from the desktop window.
#include "runtime/desktop_size.h"

#include <windows.h>

#include "runtime/float_control.h"

DesktopSize GetDesktopSize() {
    // The desktop window starts at (0, 0), so its right and bottom edges are the display size;
    // the work area would leave out the taskbar.
    RECT rectangle = {0, 0, 0, 0};
    GetWindowRect(GetDesktopWindow(), &rectangle);
    LoadFloatControl();
    return {rectangle.right, rectangle.bottom};
}
