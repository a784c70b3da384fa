// Clipboard transfer of a graphic target's pixels as CF_DIB. Both operations open the clipboard
// for the calling task and wait up to a quarter of a second while another task has it open.
#pragma once
#include <cstdint>

#include "graphics/object_list.h"

// Empties the clipboard. -1 on success, 0 on failure.
std::int32_t ResetClipboard();
// Adds the target's pixels as one CF_DIB block (40-byte header, 32 bits, bottom-up). -1 on
// success, 0 on failure; the clipboard is closed and the block freed on every failure path.
std::int32_t SetClipboardBitmap(ObjectHandle handle);
