// The dirty rectangle of the current graphic target and the repaints that show it.
#include "graphics/dirty_rectangle.h"

#include <algorithm>

#include "graphics/graphic_target.h"

namespace {

void EmptyDirtyRectangle(ObjectRecord* record) {
    record->dirty = {-1, -1, 0, 0};
    record->flags &= ~kFlagDirty;
}

// Paints the control from its backing store at once. The paint runs the dialog's callback
// (WM_DRAWITEM), so callers release the graphic lock first: a callback that draws would otherwise
// wait for a lock its own thread holds.
void RepaintControl(HWND control, const RECT* area) {
    InvalidateRect(control, area, FALSE);
    UpdateWindow(control);
}

// The empty rectangle's -1 reads as the largest value, so any corner replaces it.
std::uint32_t Unsigned(LONG value) { return static_cast<std::uint32_t>(value); }

}  // namespace

void MarkGraphicDirty(CurrentTargetLock lock, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Widening widening) {
    ObjectRecord* record = lock.get();
    if (!record) return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // Unsigned from here on, as the clamps and merges compare; the widening wraps harmlessly.
    std::uint32_t left = x1, top = y1, right = x2, bottom = y2;
    if (widening == Widening::ByPen) {
        const std::uint32_t reach = (static_cast<std::uint32_t>(record->penWidth) >> 1) + 1;
        left -= reach;
        top -= reach;
        right += reach;
        bottom += reach;
    }
    if (static_cast<std::int32_t>(left) < 0) left = 0;
    if (static_cast<std::int32_t>(top) < 0) top = 0;
    right = std::min(right, Unsigned(record->canvasSize.cx));
    bottom = std::min(bottom, Unsigned(record->canvasSize.cy));

    RECT& dirty = record->dirty;
    if (left <= Unsigned(dirty.left)) dirty.left = static_cast<LONG>(left);
    if (top <= Unsigned(dirty.top)) dirty.top = static_cast<LONG>(top);
    if (right >= Unsigned(dirty.right)) dirty.right = static_cast<LONG>(right);
    if (bottom >= Unsigned(dirty.bottom)) dirty.bottom = static_cast<LONG>(bottom);
    record->flags |= kFlagDirty;

    if ((record->flags & kFlagBuffered) || record->kind != kKindGraphicControl) return;
    const RECT area = dirty;
    HWND control = WindowOf(record->handle);
    EmptyDirtyRectangle(record);
    lock.Release();
    RepaintControl(control, &area);
}

void RedrawGraphic() {
    CurrentTargetLock lock;
    ObjectRecord* record = lock.get();
    if (!record) return;
    EmptyDirtyRectangle(record);
    const bool isControl = record->kind == kKindGraphicControl;
    HWND control = WindowOf(record->handle);
    lock.Release();
    if (isControl) RepaintControl(control, nullptr);
}
