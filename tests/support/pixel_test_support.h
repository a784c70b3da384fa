// Shared by the graphics tests: known pixel patterns in memory bitmaps, reading them back, and a
// handle that names no target.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/graphic_target.h"
#include "runtime/font_table.h"

// A handle that no object record has.
constexpr ObjectHandle kNoSuchHandle = 0x7FFF0001;

// A colour that differs for every pixel of a small bitmap, so a misplaced copy shows.
inline COLORREF PatternColour(int x, int y) {
    return RGB((x * 7 + 1) & 0xFF, (y * 11 + 3) & 0xFF, (x * 3 + y * 5 + 17) & 0xFF);
}

inline ObjectRecord* RecordOf(ObjectHandle handle) { return FindObjectRecord(handle); }

inline COLORREF PixelOf(ObjectHandle bitmap, int x, int y) { return GetPixel(RecordOf(bitmap)->memoryDC, x, y); }

inline void FillBitmap(ObjectHandle bitmap, COLORREF colour) {
    const ObjectRecord* record = RecordOf(bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, record->canvasSize.cx, record->canvasSize.cy};
    FillRect(record->memoryDC, &all, brush);
    DeleteObject(brush);
}

inline void PaintPattern(ObjectHandle bitmap) {
    const ObjectRecord* record = RecordOf(bitmap);
    for (int y = 0; y < record->canvasSize.cy; ++y) {
        for (int x = 0; x < record->canvasSize.cx; ++x) SetPixel(record->memoryDC, x, y, PatternColour(x, y));
    }
}

// A memory bitmap of one colour; the default font exists as it does in a running process.
inline ObjectHandle NewFilledBitmap(int width, int height, COLORREF colour) {
    CreateInitialFontTable();
    const ObjectHandle bitmap = NewGraphicBitmap(width, height);
    if (bitmap) FillBitmap(bitmap, colour);
    return bitmap;
}

inline ObjectHandle NewPatternBitmap(int width, int height) {
    CreateInitialFontTable();
    const ObjectHandle bitmap = NewGraphicBitmap(width, height);
    if (bitmap) PaintPattern(bitmap);
    return bitmap;
}
