// The dialog engine's record of a dialog or control: the object list's record, followed by the
// fields that only the engine reads.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

using DialogCallback = std::int32_t (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Bits of the flags word that only the dialog engine uses.
constexpr std::uint32_t kFlagDialogUnits = 0x1;
constexpr std::uint32_t kFlagPixelUnits = 0x2;
constexpr std::uint32_t kFlagUnitsMask = 0xF;
constexpr std::uint32_t kFlagImageIsIcon = 0x4000;
constexpr std::uint32_t kFlagImageIsBitmap = 0x8000;
constexpr std::uint32_t kFlagShownModally = 0x10000;
constexpr std::uint32_t kFlagBeingDestroyed = 0x20000;  // DialogEnd is destroying the dialog

struct DialogRecord : ObjectRecord {
    std::uint32_t style;
    std::uint32_t extendedStyle;
    std::int32_t showCommand;
    HFONT dialogFont;
    DialogCallback callback;       // dialog callback, or a control's own callback
    std::int32_t* resultVariable;
    HACCEL acceleratorTable;
    std::uint32_t closeDisabled;
    HANDLE image;                  // image of an image control
    HANDLE imageCopy;              // the control's own copy of it, if it made one
};

// A new record for a dialog (kFlagDialog in `flags`) or control (kFlagControl) window, as
// CreateObjectRecord makes one, with the engine's fields zero.
DialogRecord* CreateDialogRecord(HWND window, HWND parent, std::uint32_t flags, std::int32_t kind);
// The record of a dialog or control window; null for any other handle.
DialogRecord* FindDialogRecord(HWND window);
