// Dialogs built at run time from an in-memory template.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/text_stack.h"

constexpr std::uint32_t kUnitsPixels = 2;
constexpr std::int32_t kCentre = static_cast<std::int32_t>(0x80000000);

// Creates a hidden dialog under EngineDialogProc and registers its record. `units` with the
// kUnitsPixels flag gives position and size in pixels, the size being that of the client area;
// otherwise they are dialog units. The caption is the top of `stack` (read as UTF-16) and is consumed on
// every path. The dialog, or 0.
HWND NewDialog(TextStack& stack, std::uint32_t units, HWND parent, std::int32_t x, std::int32_t y,
               std::int32_t width, std::int32_t height, std::uint32_t style, std::uint32_t extendedStyle);
