// The photograph of the primary display, taken before the tool's window is shown.
#include "tool/capture_screen.h"

#include <windows.h>

#include "graphics/dirty_rectangle.h"
#include "graphics/gdi_guards.h"
#include "graphics/graphic_target.h"
#include "runtime/desktop_size.h"
#include "tool/tool_state.h"

namespace {

// No CAPTUREBLT: layered windows of other programs are not part of the photograph.
bool CopyScreenInto(HDC bitmapDC, DesktopSize desktop) {
    ScopedGetDC screen(nullptr);
    return BitBlt(bitmapDC, 0, 0, desktop.width, desktop.height, screen.get(), 0, 0, SRCCOPY) != FALSE;
}

}  // namespace

bool CaptureScreen() {
    ToolState& tool = Tool();
    const DesktopSize desktop = GetDesktopSize();
    tool.screenBitmap = NewGraphicBitmap(desktop.width, desktop.height);
    if (!tool.screenBitmap) return false;
    AttachGraphic(tool.screenBitmap, 0, kAttachBuffered);
    tool.bitmapDC = GetGraphicDC();
    const bool copied = CopyScreenInto(tool.bitmapDC, desktop);
    RedrawGraphic();
    return copied;
}
