// The dialog callback of the selection: photograph, crosshair, outline, end and export.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr std::int32_t kSelectionControlId = 500;

std::int32_t SelectionCallback(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
