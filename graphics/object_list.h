// The process-wide object list: one record per dialog, control and memory bitmap, by handle.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "graphics/changed_area.h"

// Handles of windows and bitmaps as the object list keys them.
using ObjectHandle = std::uintptr_t;
inline ObjectHandle HandleOf(HWND window) { return reinterpret_cast<ObjectHandle>(window); }
inline ObjectHandle HandleOf(HBITMAP bitmap) { return reinterpret_cast<ObjectHandle>(bitmap); }
inline HWND WindowOf(ObjectHandle handle) { return reinterpret_cast<HWND>(handle); }
inline HBITMAP BitmapOf(ObjectHandle handle) { return reinterpret_cast<HBITMAP>(handle); }

// Record kinds: 0 dialog, 1-25 controls by class index, 26 memory bitmap. A control's kind is its
// class index, so kKindGraphicControl also names the graphic control's class.
constexpr std::int32_t kKindDialog = 0;
constexpr std::int32_t kKindGraphicControl = 14;
constexpr std::int32_t kKindOwnerDrawStatic = 15;
constexpr std::int32_t kKindMemoryBitmap = 26;

// Kinds whose records carry the graphic fields' defaults and resources: the graphic control,
// the owner-draw static and the memory bitmap.
inline bool HasGraphicFields(std::int32_t kind) {
    return kind == kKindGraphicControl || kind == kKindOwnerDrawStatic || kind == kKindMemoryBitmap;
}
// Kinds that can be a graphic target: the graphic control and the memory bitmap.
inline bool IsGraphicTargetKind(std::int32_t kind) { return kind == kKindGraphicControl || kind == kKindMemoryBitmap; }

// Bits of the flags word that the layers below the dialog engine read or set; the engine adds
// its own in dialogs/dialog_record.h.
constexpr std::uint32_t kFlagDirty = 0x10;
constexpr std::uint32_t kFlagHasFocus = 0x20;
constexpr std::uint32_t kFlagBuffered = 0x200;
constexpr std::uint32_t kFlagControl = 0x20000000;
constexpr std::uint32_t kFlagDialog = 0x40000000;

// Control colour fields hold an RGB value, -1 for the system colour or -3 for not set.
constexpr std::int32_t kColourNotSet = -3;

struct ObjectRecord {
    ObjectRecord* next;
    ObjectHandle handle;   // window of a dialog or control; HBITMAP of a memory bitmap
    ObjectHandle parent;   // owning dialog of a control; owner of a dialog; 0 for a bitmap
    std::uint32_t flags;
    // Graphic target fields.
    std::int32_t fontNumber;
    HFONT previousFont;
    HDC memoryDC;
    HBITMAP previousBitmap;
    RECT dirty;            // empty: left = top = -1, right = bottom = 0
    SIZE viewSize;
    SIZE canvasSize;
    POINT viewOrigin;
    std::int32_t averageCharWidth;
    std::int32_t charHeight;
    std::int32_t externalLeading;
    HBRUSH backgroundBrush;
    COLORREF foregroundColour;
    COLORREF backgroundColour;
    std::int32_t penStyle;
    std::int32_t penWidth;
    std::int32_t kind;
    WNDPROC previousWindowProc;
    std::uint32_t lastKey;
    // What a repaint must cover. Every change takes a new stamp (0: never changed). A whole copy of
    // another target remembers that target's stamp, so a copy of the same unchanged picture
    // changes only what has been drawn over it since. A control also collects what it has
    // changed since it was last shown. Once GetGraphicDC has handed out the memory DC, the
    // target may change at any time out of the engine's sight.
    std::uint64_t changeStamp;
    std::uint64_t copiedStamp;
    ChangedArea drawnOver;
    ChangedArea unshown;
    bool dcHandedOut;
    // Control colours, here because records share brushes of one colour: text colour,
    // background colour and its brush.
    std::int32_t textColour;
    std::int32_t controlBackColour;
    HBRUSH colourBrush;
};

// The record with `handle`, found under the object list lock; null if none.
ObjectRecord* FindObjectRecord(ObjectHandle handle);
// A new zero-filled record of `size` bytes (a layer above may put fields of its own after the
// record's) linked at the head, with the control colours not set and, for kinds
// 14, 15 and 26, the default graphic colours, a background brush (shared with another record of
// the same colour) and an empty dirty rectangle. Null, with error number 5 for the caller, when `handle` already has a
// record or memory is exhausted.
ObjectRecord* CreateObjectRecord(ObjectHandle handle, ObjectHandle parent, std::uint32_t flags,
                                 std::int32_t kind, std::size_t size = sizeof(ObjectRecord));
// Takes the record out of the list (under the lock); the caller frees it with FreeObjectRecord.
void UnlinkObjectRecord(ObjectRecord* record);
void FreeObjectRecord(ObjectRecord* record);
// True when a record other than `except` holds a brush (background or colour brush) `brush`.
bool IsBrushShared(HBRUSH brush, const ObjectRecord* except);
// The first control record whose parent is `dialog`, or null.
ObjectRecord* FindChildRecord(ObjectHandle dialog);
// Number of records in the list.
long ObjectCount();
