// The dialog callback of the selection: photograph, crosshair, outline, end and export.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr std::int32_t kSelectionControlId = 500;
// The selection's outline: pure red.
constexpr std::int32_t kOutlineColour = RGB(255, 0, 0);
// Where WM_SETCURSOR's lParam names the mouse message that follows: its high word.
constexpr int kMouseMessageShift = 16;

std::int32_t SelectionCallback(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
