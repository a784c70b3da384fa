// The tool's global state: one set per process, zero when the process starts.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

struct ToolState {
    HWND dialog;                   // the full-screen dialog
    ObjectHandle screenBitmap;     // the photograph of the screen
    ObjectHandle selectionBitmap;
    HDC bitmapDC;                  // memory DC of the screen bitmap
    POINT current;                 // latest cursor position, client coordinates of the dialog
    POINT anchor;                  // the current point at the left-button press
    std::int32_t dragging;         // 1 from the first left-button press on
    std::int32_t ending;           // 1 once the dialog is being ended, by a release or a cancel
    std::int32_t exporting;        // 1 when the dialog ends because the left button came up
    std::int32_t captureFailed;    // 1 when there was no photograph to select from
    std::int32_t pointerConfined;  // 1 while the tool confines the pointer to the overlay
    ATOM penServiceAtom;           // held while the overlay turns pen gestures off
};

ToolState& Tool();
// Clears the tool's global variables; the process start does this before the main routine.
void ClearToolState();
