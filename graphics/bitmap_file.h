// Writes the current graphic target to a 24-bit Windows bitmap file.
#pragma once
#include <cstdint>

#include "runtime/text_stack.h"

// Takes the file name (UTF-16) from the top of `stack` and always consumes it. The file is
// written whole to a temporary file beside it and then put in place in one step, so a failure
// never leaves a partial file and never touches an existing one. -1 written, 0 not.
std::int32_t SaveGraphicBitmap(TextStack& stack);
