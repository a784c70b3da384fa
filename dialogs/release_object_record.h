// Release of the object records of a destroyed dialog or control.
#pragma once
#include <windows.h>

// Releases the window's record and what it holds (colour brush, image, graphic backing store),
// the records of its child controls first.
void ReleaseObjectRecord(HWND window);
