// Keyboard accelerators of an engine dialog, translated by its modal loop.
#pragma once
#include <windows.h>

// Gives the dialog an accelerator table; the dialog owns it and destroys it when it ends.
// Without a record for the dialog the table is destroyed at once.
void SetDialogAccelerators(HWND dialog, HACCEL table);
