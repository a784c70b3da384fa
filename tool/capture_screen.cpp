#include "tool/capture_screen.h"

#include <windows.h>

#include "graphics/dirty_rectangle.h"
#include "graphics/graphic_target.h"
#include "runtime/desktop_size.h"
#include "tool/tool_state.h"

void CaptureScreen() {
    ToolState& tool = Tool();
    const DesktopSize desktop = GetDesktopSize();
    tool.screenBitmap = NewGraphicBitmap(desktop.width, desktop.height);
    tool.screenDC = GetDC(nullptr);
    AttachGraphic(tool.screenBitmap, 0, kAttachBuffered);
    tool.bitmapDC = GetGraphicDC();
    // No CAPTUREBLT: layered windows of other programs are not part of the photograph.
    BitBlt(tool.bitmapDC, 0, 0, desktop.width, desktop.height, tool.screenDC, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, tool.screenDC);
    RedrawGraphic();
}
