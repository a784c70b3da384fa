// The dialog callback of the selection: photograph, crosshair, outline, end and export.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr std::int32_t kSelectionControlId = 500;
// The selection's outline: pure red.
constexpr std::int32_t kOutlineColour = RGB(255, 0, 0);
// WM_SETCURSOR's lParam names the mouse message that follows in its high word: the code reads it
// with HIWORD, and the literal pool keeps this shift among the tool's numbers.
constexpr int kMouseMessageShift = 16;

std::int32_t SelectionCallback(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
