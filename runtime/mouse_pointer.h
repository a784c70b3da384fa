// The mouse pointer, set by a small pointer number.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr std::uint32_t kCrosshairPointer = 2;

// Sets the cursor: 0 hides it, 1-13 are standard system cursors (2 the crosshair), and a number
// above 13 is itself a cursor handle. Returns the previous cursor.
HCURSOR SetMousePointer(std::uint32_t number);
