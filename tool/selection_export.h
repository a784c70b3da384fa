// The export of the selection, run while the dialog is destroyed after the button release.
#pragma once
#include <windows.h>

#include <cstdint>

// Room for the file name of the selection.
constexpr std::uint32_t kFileNameSize = MAX_PATH;

// Crops the selection out of the photograph, puts it on the clipboard, writes "Retazo.bmp",
// reports what happened and asks the shell to open the file if this run wrote it.
void ExportSelection();
