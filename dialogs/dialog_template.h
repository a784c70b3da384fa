// The extended dialog template from which NewDialog creates its dialogs.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/font_table.h"

// Large enough for any template this engine writes (at most 104 bytes).
struct DialogTemplateBuffer {
    alignas(4) std::uint8_t bytes[512];
};

struct DialogTemplateFields {
    std::uint32_t style;
    std::uint32_t extendedStyle;
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
    const FontRecord* font;  // null: no font in the template, the system font applies
};

// The template style for a requested style: 0 means a captioned modal frame; a dialog is never
// created visible or system-modal; 0x80000000 as x or y asks for centring; a child style
// without a parent becomes a popup.
std::uint32_t NormaliseDialogStyle(std::uint32_t style, std::int32_t x, std::int32_t y, bool hasParent);

// Writes a template without controls, titled with one space. Position and size keep only
// their low 16 bits. Returns the template's size in bytes.
std::size_t BuildDialogTemplate(DialogTemplateBuffer& buffer, const DialogTemplateFields& fields);
