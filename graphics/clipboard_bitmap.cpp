// Clipboard transfer of a graphic target's pixels as one CF_DIB block.
#include "graphics/clipboard_bitmap.h"

#include <cstdint>
#include <cstring>

#include "graphics/dib_header.h"
#include "graphics/dib_rows.h"
#include "runtime/clipboard_guard.h"

namespace {

// A memory bitmap's handle is its bitmap; a graphic control shows the one in its memory DC.
HBITMAP PixelsOf(const ObjectRecord& record) {
    if (record.kind == kKindMemoryBitmap) return BitmapOf(record.handle);
    if (record.kind == kKindGraphicControl) {
        return static_cast<HBITMAP>(GetCurrentObject(record.memoryDC, OBJ_BITMAP));
    }
    return nullptr;
}

// The fourth byte of a pixel carries no colour, but readers that take it for alpha would show
// a picture of zeros as fully transparent.
void MakeOpaque(BYTE* pixels, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i) pixels[i * 4 + 3] = 255;
}

// Lays out the packed DIB of `bitmap` in `block`, sized for the record's canvas.
bool FillDibBlock(const ObjectRecord& record, HBITMAP bitmap, HGLOBAL block) {
    ScopedGlobalLock lock(block);
    auto* start = static_cast<BYTE*>(lock.get());
    if (!start) return false;
    const LONG width = record.canvasSize.cx;
    const LONG height = record.canvasSize.cy;
    const BITMAPINFOHEADER header = DibHeader(width, height, 32);
    const DibRowReader rows(record, bitmap, header);
    if (!rows.ok() || !rows.Read(0, height, start + sizeof header)) return false;
    std::memcpy(start, &header, sizeof header);
    MakeOpaque(start + sizeof header, static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height));
    return true;
}

// The target's pixels as a new movable packed-DIB block, or null when there is no such target or
// the block cannot be made.
HGLOBAL NewDibBlock(ObjectHandle handle) {
    const ObjectRecord* record = FindObjectRecord(handle);
    if (!record) return nullptr;
    HBITMAP bitmap = PixelsOf(*record);
    const LONG width = record->canvasSize.cx;
    const LONG height = record->canvasSize.cy;
    if (!bitmap || width <= 0 || height <= 0) return nullptr;
    // Sized in 64 bits: a product that wrapped would give a block smaller than the pixels.
    const std::uint64_t size = sizeof(BITMAPINFOHEADER) + static_cast<std::uint64_t>(width) * height * 4;
    if (size > MAXDWORD) return nullptr;
    ScopedGlobalBlock block(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
    if (!block.get() || !FillDibBlock(*record, bitmap, block.get())) return nullptr;
    return block.release();
}

// Hands the block to the open clipboard; it is the clipboard's only once that succeeded.
bool HandOver(ScopedGlobalBlock& block) {
    if (!SetClipboardData(CF_DIB, block.get())) return false;
    block.release();
    return true;
}

// Windows takes data only from the clipboard's owner, the window that emptied it. A clipboard
// that holds nothing loses nothing when emptied again, so that is how the data's window becomes
// its owner after a ResetClipboard (whose window is gone by then); a clipboard that holds
// another program's data is left as it is.
bool TakeOwnershipIfEmpty() {
    SetLastError(ERROR_SUCCESS);
    const bool holdsNothing = CountClipboardFormats() == 0 && GetLastError() == ERROR_SUCCESS;
    return !holdsNothing || EmptyClipboard();
}

}  // namespace

std::int32_t ResetClipboard() {
    const ScopedMessageWindow owner;
    if (!owner.get()) return 0;
    const ScopedClipboard clipboard(owner.get());
    if (!clipboard.ok()) return 0;
    return EmptyClipboard() ? -1 : 0;
}

std::int32_t SetClipboardBitmap(ObjectHandle handle) {
    const ScopedMessageWindow owner;
    if (!owner.get()) return 0;
    const ScopedClipboard clipboard(owner.get());
    if (!clipboard.ok() || !TakeOwnershipIfEmpty()) return 0;
    ScopedGlobalBlock block(NewDibBlock(handle));
    if (!block.get()) return 0;
    return HandOver(block) ? -1 : 0;
}

std::int32_t ReplaceClipboardBitmap(ObjectHandle handle) {
    // Everything that can fail without touching the clipboard is done first, so that a failure
    // leaves the user's clipboard as it was.
    ScopedGlobalBlock block(NewDibBlock(handle));
    if (!block.get()) return 0;
    const ScopedMessageWindow owner;
    if (!owner.get()) return 0;
    ScopedClipboard clipboard(owner.get());
    if (!clipboard.ok() || !EmptyClipboard()) return 0;
    return HandOver(block) ? -1 : 0;
}
