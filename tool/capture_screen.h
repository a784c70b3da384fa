// The photograph of the primary display, taken before the tool's window is shown.
#pragma once

// Photographs the screen into a new memory bitmap, which becomes the current graphic target.
// False when the bitmap could not be made or the screen could not be copied into it.
bool CaptureScreen();
