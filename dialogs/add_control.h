// Child controls added to an engine dialog by class index.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_record.h"
#include "runtime/text_stack.h"

// Item texts for list and combo boxes: `count` zero-terminated UTF-16 strings.
struct ControlItems {
    const wchar_t* const* texts;
    int count;
};

// Adds control `classIndex` (0: the class named by the class-name text; 1-25: the class table)
// to `dialog`, at a position in the dialog's units. The caption (top of `stack`; for image
// classes 10-13 the name of a bitmap or else icon resource) and the class-name text (below it),
// both UTF-16, are consumed on every path. Class 14 becomes a graphic control. Class 23 and
// indices outside 0-25 create nothing.
void AddControl(TextStack& stack, std::int32_t classIndex, HWND dialog, std::int32_t controlId,
                const ControlItems* items, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, std::uint32_t style, std::uint32_t extendedStyle,
                DialogCallback controlCallback);
