// Memory bitmaps, target lookup, the current graphic target of each thread and the lock held on it.
#include "graphics/graphic_target.h"

#include "graphics/dirty_rectangle.h"
#include "graphics/gdi_guards.h"
#include "graphics/spin_lock.h"
#include "runtime/font_table.h"
#include "runtime/runtime_error.h"
#include "runtime/thread_block.h"

namespace {

// The default font stays selected for the target's lifetime; ReleaseGraphicTarget puts the
// previous font back. A failure leaves the DC with its stock font.
void SelectDefaultFont(ObjectRecord* record) {
    FontRecord* font = FindFont(kDefaultFontNumber);
    if (!font) return;
    HFONT handle = GetFontHandle(*font, record->memoryDC);
    if (!handle) return;
    HGDIOBJ previous = SelectObject(record->memoryDC, handle);
    if (!previous || previous == HGDI_ERROR) return;
    record->previousFont = static_cast<HFONT>(previous);
    ++font->useCount;
    record->fontNumber = kDefaultFontNumber;
    TEXTMETRICW metrics;
    if (GetTextMetricsW(record->memoryDC, &metrics)) {
        record->averageCharWidth = metrics.tmAveCharWidth;
        record->charHeight = metrics.tmHeight;
        record->externalLeading = metrics.tmExternalLeading;
    }
    SetTextAlign(record->memoryDC, TA_UPDATECP);
}

}  // namespace

void SetUpTargetDC(ObjectRecord* record) {
    SelectDefaultFont(record);
    SetTextColor(record->memoryDC, record->foregroundColour);
    SetBkColor(record->memoryDC, record->backgroundColour);
    SetBkMode(record->memoryDC, OPAQUE);
}

ObjectHandle NewGraphicBitmap(std::int32_t width, std::int32_t height) {
    // The system answers an empty size with its shared default bitmap, which must never become
    // a target of its own.
    if (width <= 0 || height <= 0) return 0;
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC memoryDC(screen.get());
    if (!memoryDC.get()) return 0;
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap.get()) return 0;
    ScopedSelectObject selected(memoryDC.get(), bitmap.get());
    if (!selected.ok()) return 0;
    ObjectRecord* record =
        CreateObjectRecord(HandleOf(bitmap.get()), 0, kFlagBuffered, kKindMemoryBitmap);
    if (!record) return 0;

    record->previousBitmap = static_cast<HBITMAP>(selected.release());
    record->memoryDC = memoryDC.release();
    record->viewSize = record->canvasSize = {width, height};
    SetUpTargetDC(record);
    return HandleOf(bitmap.release());
}

ObjectRecord* ResolveGraphicTarget(ObjectHandle handle, std::int32_t controlId) {
    // Only a window has dialog items. Asked about a bitmap's handle, the window system would
    // search for it all the same, on every copy from the photograph.
    HWND window = WindowOf(handle);
    HWND control = IsWindow(window) ? GetDlgItem(window, controlId) : nullptr;
    ObjectRecord* record = FindObjectRecord(control ? HandleOf(control) : handle);
    return record && IsGraphicTargetKind(record->kind) ? record : nullptr;
}

void AttachGraphic(ObjectHandle handle, std::int32_t controlId, std::uint32_t option) {
    ObjectRecord* record = ResolveGraphicTarget(handle, controlId);
    SetCurrentGraphicTarget(0);
    if (!record) {
        RaiseRuntimeError(kErrorNoGraphicTarget);
        return;
    }
    // A memory bitmap has no window to repaint, so it is always buffered.
    if (record->kind == kKindMemoryBitmap) option |= kAttachBuffered;
    record->flags = (record->flags & ~kFlagBuffered) | (option & kAttachBuffered);
    SetCurrentGraphicTarget(record->handle);
}

HDC GetGraphicDC() {
    const CurrentTargetLock lock;
    if (!lock) return nullptr;
    // What is drawn into the DC is out of the engine's sight, now and whenever the caller draws
    // through it later: it counts as a change of everything.
    lock.get()->dcHandedOut = true;
    MarkWholePictureChanged(lock.get());
    return lock.get()->memoryDC;
}

CurrentTargetLock::CurrentTargetLock() : record_(nullptr) {
    GraphicLock().Take();
    const ObjectHandle current = CurrentGraphicTarget();
    ObjectRecord* record = current ? FindObjectRecord(current) : nullptr;
    if (record && IsGraphicTargetKind(record->kind)) {
        record_ = record;
    } else {
        GraphicLock().Release();
    }
}

CurrentTargetLock::CurrentTargetLock(CurrentTargetLock&& other) noexcept : record_(other.record_) {
    other.record_ = nullptr;
}

void CurrentTargetLock::Release() {
    if (!record_) return;
    record_ = nullptr;
    GraphicLock().Release();
}

ObjectHandle CurrentGraphicTarget() {
    ThreadBlock* block = GetThreadBlock();
    return block ? block->currentGraphicTarget : 0;
}

void SetCurrentGraphicTarget(ObjectHandle handle) {
    if (ThreadBlock* block = GetThreadBlock()) block->currentGraphicTarget = handle;
}
