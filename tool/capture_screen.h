// The photograph of the primary display, taken before the tool's window is shown.
#pragma once

// Photographs the screen into a new memory bitmap, which becomes the current graphic target.
void CaptureScreen();
