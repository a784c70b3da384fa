// Modal system message boxes with texts from the temporary stack.
#pragma once
#include <cstdint>

#include "runtime/text_stack.h"

// Shows a message box without owner. The text (below the top) and the title (on top) have been
// converted to UTF-16; an empty title gives the runtime's default. Both slots are consumed.
// Returns the result of MessageBoxW, 0 on failure.
int ShowMessageBox(TextStack& stack, std::uint32_t style);
