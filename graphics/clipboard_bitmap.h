// Clipboard transfer of a graphic target's pixels as CF_DIB. Each operation opens and closes the
// clipboard itself, waiting up to a quarter of a second while another task has it open.
#pragma once
#include <cstdint>

#include "graphics/object_list.h"

// Empties the clipboard, opened for a window of the engine's own. -1 on success, 0 on failure.
std::int32_t ResetClipboard();
// Adds the target's pixels as one CF_DIB block (40-byte header, 32 bits, bottom-up), with the
// clipboard opened for a window of the engine's own, which takes ownership of a clipboard that
// holds nothing. -1 on success, 0 on failure; the clipboard is closed and the block freed on
// every failure path.
std::int32_t SetClipboardBitmap(ObjectHandle handle);
// Replaces the clipboard's contents by the target's CF_DIB block in one open, owned by a window
// of its own. The block is made first: when it cannot be, or the clipboard cannot be opened, the
// clipboard keeps what it had. -1 on success, 0 on failure.
std::int32_t ReplaceClipboardBitmap(ObjectHandle handle);
