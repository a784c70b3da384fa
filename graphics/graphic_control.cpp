// Set-up, painting and release of graphic controls and their backing stores.
#include "graphics/graphic_control.h"

#include "graphics/gdi_guards.h"
#include "graphics/graphic_control_proc.h"
#include "graphics/graphic_target.h"
#include "runtime/font_table.h"

namespace {

// A memory DC with a bitmap of the control's client size, filled with the background brush.
// Without a control DC, or when either part cannot be made, the control keeps no backing store
// and drawing into it has no effect.
void CreateBackingStore(ObjectRecord* record, HWND control) {
    ScopedGetDC controlDC(control);
    if (!controlDC.get()) return;
    RECT client{};
    GetClientRect(control, &client);
    record->viewSize = record->canvasSize = {client.right, client.bottom};

    ScopedMemoryDC memoryDC(controlDC.get());
    if (!memoryDC.get()) return;
    ScopedGdiObject<HBITMAP> backing(CreateCompatibleBitmap(controlDC.get(), client.right, client.bottom));
    if (!backing.get()) return;
    ScopedSelectObject selected(memoryDC.get(), backing.get());
    if (!selected.ok()) return;
    FillRect(memoryDC.get(), &client, record->backgroundBrush);

    record->previousBitmap = static_cast<HBITMAP>(selected.release());
    backing.release();
    record->memoryDC = memoryDC.release();
}

void ReleaseFont(ObjectRecord* record) {
    if (!record->fontNumber) return;
    if (FontRecord* font = FindFont(record->fontNumber)) --font->useCount;
    if (record->previousFont) SelectObject(record->memoryDC, record->previousFont);
}

// Records of the same background colour share one brush; the last holder deletes it.
void ReleaseBackgroundBrush(ObjectRecord* record) {
    HBRUSH brush = record->backgroundBrush;
    if (!brush || static_cast<std::int32_t>(record->backgroundColour) < 0) return;
    if (!IsBrushShared(brush, record)) DeleteObject(brush);
}

void ReleaseBackingStore(ObjectRecord* record) {
    if (!record->memoryDC) return;
    HGDIOBJ backing = SelectObject(record->memoryDC, record->previousBitmap);
    if (backing && backing != HGDI_ERROR) DeleteObject(backing);
    DeleteDC(record->memoryDC);
}

// The dialog's control with the item's id. The item names the window being drawn, which is that
// control whenever it is the dialog's child with that id; the window system's search for the id
// is left for any other case, since it costs a round trip on every paint.
HWND DrawnControl(HWND dialog, const DRAWITEMSTRUCT* item) {
    HWND named = item->hwndItem;
    const int id = static_cast<int>(item->CtlID);
    if (named && GetParent(named) == dialog && GetDlgCtrlID(named) == id) return named;
    return GetDlgItem(dialog, id);
}

}  // namespace

void SetUpGraphicControl(ObjectRecord* record) {
    HWND control = WindowOf(record->handle);
    record->previousWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GraphicControlProc)));
    CreateBackingStore(record, control);
    if (record->memoryDC) SetUpTargetDC(record);
    record->penWidth = 0;
    if (!CurrentGraphicTarget()) {
        record->flags &= ~kFlagBuffered;
        SetCurrentGraphicTarget(record->handle);
    }
}

BOOL PaintGraphicControl(HWND dialog, const DRAWITEMSTRUCT* item) {
    if (!(item->itemAction & ODA_DRAWENTIRE)) return FALSE;
    HWND control = DrawnControl(dialog, item);
    ObjectRecord* record = control ? FindObjectRecord(HandleOf(control)) : nullptr;
    if (!record || record->kind != kKindGraphicControl) return FALSE;
    if (!BitBlt(item->hDC, 0, 0, record->viewSize.cx, record->viewSize.cy, record->memoryDC, record->viewOrigin.x,
                record->viewOrigin.y, SRCCOPY)) {
        // The screen no longer shows the backing store, and the system counts the paint as done:
        // the next redraw shows all of it. Only this thread draws into the record.
        record->unshown.Add(RECT{0, 0, record->canvasSize.cx, record->canvasSize.cy});
    }
    return TRUE;
}

void ReleaseGraphicTarget(ObjectRecord* record) {
    ReleaseFont(record);
    ReleaseBackgroundBrush(record);
    ReleaseBackingStore(record);
    FreeObjectRecord(record);
}
