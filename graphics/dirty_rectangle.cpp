// The dirty rectangle of the current graphic target and the repaints that show it.
#include "graphics/dirty_rectangle.h"

#include <algorithm>

#include "graphics/gdi_guards.h"
#include "graphics/graphic_target.h"

namespace {

// Taken under the graphic lock, so no two changes of any targets share a stamp.
std::uint64_t lastChangeStamp = 0;

void EmptyDirtyRectangle(ObjectRecord* record) {
    record->dirty = {-1, -1, 0, 0};
    record->flags &= ~kFlagDirty;
}

// One request for the whole area, without erasing: a single rectangle as it is, more as a region.
// Without a region the whole control is asked for, which shows the area too. False when the
// window system took no request.
bool InvalidateArea(HWND control, const ChangedArea& area) {
    if (area.empty()) return true;
    if (area.count == 1) return InvalidateRect(control, &area.rects[0], FALSE) != FALSE;
    ScopedGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ScopedGdiObject<HRGN> piece(CreateRectRgn(0, 0, 0, 0));
    bool built = region.get() && piece.get();
    for (std::int32_t i = 0; built && i < area.count; ++i) {
        const RECT& rect = area.rects[i];
        built = SetRectRgn(piece.get(), rect.left, rect.top, rect.right, rect.bottom) &&
                CombineRgn(region.get(), region.get(), piece.get(), RGN_OR) != ERROR;
    }
    if (!built) return InvalidateRect(control, nullptr, FALSE) != FALSE;
    return InvalidateRgn(control, region.get(), FALSE) != FALSE;
}


// The empty rectangle's -1 reads as the largest value, so any corner replaces it.
std::uint32_t Unsigned(LONG value) { return static_cast<std::uint32_t>(value); }

// The corners ordered, widened and clamped to the canvas, compared unsigned as the dirty rectangle
// is: a far corner below zero lies beyond the canvas.
RECT ReportedRectangle(const ObjectRecord* record, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2, Widening widening) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // Unsigned from here on; the widening wraps harmlessly.
    std::uint32_t left = x1, top = y1, right = x2, bottom = y2;
    if (widening == Widening::ByPen) {
        const auto reach = static_cast<std::uint32_t>(PenReach(record));
        left -= reach;
        top -= reach;
        right += reach;
        bottom += reach;
    }
    if (static_cast<std::int32_t>(left) < 0) left = 0;
    if (static_cast<std::int32_t>(top) < 0) top = 0;
    right = std::min(right, Unsigned(record->canvasSize.cx));
    bottom = std::min(bottom, Unsigned(record->canvasSize.cy));
    return {static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

void MergeIntoDirtyRectangle(ObjectRecord* record, const RECT& change) {
    RECT& dirty = record->dirty;
    if (Unsigned(change.left) <= Unsigned(dirty.left)) dirty.left = change.left;
    if (Unsigned(change.top) <= Unsigned(dirty.top)) dirty.top = change.top;
    if (Unsigned(change.right) >= Unsigned(dirty.right)) dirty.right = change.right;
    if (Unsigned(change.bottom) >= Unsigned(dirty.bottom)) dirty.bottom = change.bottom;
    record->flags |= kFlagDirty;
}

// A new stamp, and for a control the area joins what it has not shown yet.
void NoteChange(ObjectRecord* record, const ChangedArea& area) {
    record->changeStamp = ++lastChangeStamp;
    if (record->kind == kKindGraphicControl) record->unshown.Add(area);
}

RECT WholeCanvas(const ObjectRecord* record) { return {0, 0, record->canvasSize.cx, record->canvasSize.cy}; }

ChangedArea WholePicture(const ObjectRecord* record) {
    ChangedArea whole{};
    whole.Add(WholeCanvas(record));
    return whole;
}

// Repaints the control at once wherever it has changed since it was last shown. The area is
// forgotten only once the window system has taken the request; a failed one is asked for again
// next time. The paint runs the dialog's callback (WM_DRAWITEM), so the lock is released first: a
// callback that draws would otherwise wait for a lock its own thread holds.
void ShowUnshown(CurrentTargetLock lock) {
    ObjectRecord* record = lock.get();
    HWND control = WindowOf(record->handle);
    if (InvalidateArea(control, record->unshown)) record->unshown.Clear();
    lock.Release();
    UpdateWindow(control);
}

// A graphic control drawn without the buffered option shows its changes at once.
void ShowUnlessBuffered(CurrentTargetLock lock) {
    ObjectRecord* record = lock.get();
    if ((record->flags & kFlagBuffered) || record->kind != kKindGraphicControl) return;
    EmptyDirtyRectangle(record);
    ShowUnshown(std::move(lock));
}

}  // namespace

std::int32_t PenReach(const ObjectRecord* record) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(record->penWidth) >> 1) + 1);
}

void MarkGraphicDirty(CurrentTargetLock lock, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Widening widening, const ChangedArea* changed) {
    ObjectRecord* record = lock.get();
    if (!record) return;
    const RECT reported = ReportedRectangle(record, x1, y1, x2, y2, widening);
    MergeIntoDirtyRectangle(record, reported);
    ChangedArea area{};
    if (changed) {
        area = *changed;
    } else {
        area.Add(reported);
    }
    NoteChange(record, area);
    record->drawnOver.Add(area);
    ShowUnlessBuffered(std::move(lock));
}

bool HoldsCopyOf(const ObjectRecord* target, std::uint64_t sourceStamp) {
    return sourceStamp != 0 && target->copiedStamp == sourceStamp && !target->dcHandedOut;
}

void MarkGraphicCopied(CurrentTargetLock lock, std::uint64_t sourceStamp) {
    ObjectRecord* record = lock.get();
    if (!record) return;
    MergeIntoDirtyRectangle(record, WholeCanvas(record));
    const bool repeated = HoldsCopyOf(record, sourceStamp);
    NoteChange(record, repeated ? record->drawnOver : WholePicture(record));
    record->drawnOver.Clear();
    record->copiedStamp = sourceStamp;
    ShowUnlessBuffered(std::move(lock));
}

void MarkWholePictureChanged(ObjectRecord* record) {
    const ChangedArea whole = WholePicture(record);
    NoteChange(record, whole);
    record->drawnOver.Add(whole);
}

void RedrawGraphic() {
    CurrentTargetLock lock;
    ObjectRecord* record = lock.get();
    if (!record) return;
    EmptyDirtyRectangle(record);
    // Whatever has been drawn through a DC handed out counts from here on; a memory bitmap,
    // which has nothing else to show, always counts as drawn on.
    if (record->dcHandedOut || record->kind != kKindGraphicControl) MarkWholePictureChanged(record);
    if (record->kind == kKindGraphicControl) ShowUnshown(std::move(lock));
}
