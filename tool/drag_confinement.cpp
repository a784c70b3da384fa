// The drag kept on the photograph: the pointer confined to the overlay, the corners to the picture.
#include "tool/drag_confinement.h"

#include <algorithm>

#include "graphics/object_list.h"
#include "tool/tool_state.h"

void ConfinePointer(HWND overlay) {
    RECT photograph;
    if (!GetWindowRect(overlay, &photograph)) return;
    if (ClipCursor(&photograph)) Tool().pointerConfined = 1;
}

// Freed to anywhere rather than to an earlier confinement: with none, GetClipCursor reports "the
// dimensions of the screen", and restoring that could confine the pointer to one monitor.
void FreePointer() {
    ToolState& tool = Tool();
    if (!tool.pointerConfined) return;
    tool.pointerConfined = 0;
    ClipCursor(nullptr);
}

POINT OnPhotograph(POINT point) {
    const ObjectRecord* photograph = FindObjectRecord(Tool().screenBitmap);
    if (!photograph || photograph->canvasSize.cx <= 0 || photograph->canvasSize.cy <= 0) return point;
    return {std::clamp(point.x, 0L, photograph->canvasSize.cx - 1),
            std::clamp(point.y, 0L, photograph->canvasSize.cy - 1)};
}
