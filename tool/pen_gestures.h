// Pen and touch over the overlay as plain mouse input: no press-and-hold, no flicks.
#pragma once
#include <windows.h>

// A pen or finger held on the first corner would become a right click and a quick stroke a
// navigation command, and neither would start a drag. Turned off before the overlay is shown.
void TurnOffPenGestures(HWND overlay);
// Removes what TurnOffPenGestures set; a window must lose its properties before it is destroyed.
void RestorePenGestures(HWND overlay);
