// Dialogs built at run time from an in-memory template.
#include "dialogs/new_dialog.h"

#include <algorithm>

#include "dialogs/dialog_template.h"
#include "dialogs/engine_dialog_proc.h"
#include "dialogs/text_argument.h"
#include "dialogs/dialog_record.h"
#include "runtime/font_table.h"
#include "runtime/thread_block.h"

namespace {

constexpr UINT kPlacementFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                                 SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

const FontRecord* CurrentDialogFont() {
    const ThreadBlock* block = GetThreadBlock();
    return FindFont(block ? block->dialogFont : kDefaultFontNumber);
}

// Half the room left beside `extent`, none when there is no room.
std::int32_t CentredCoordinate(LONG low, LONG high, std::int32_t extent) {
    const long long room = static_cast<long long>(low) + high - extent;
    return room < 0 ? 0 : static_cast<std::int32_t>(room / 2);
}

POINT PixelPosition(HWND parent, std::uint32_t style, std::int32_t x, std::int32_t y, std::int32_t width,
                    std::int32_t height) {
    if (style & DS_CENTER) {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return {CentredCoordinate(work.left, work.right, width), CentredCoordinate(work.top, work.bottom, height)};
    }
    if (!(style & (WS_CHILD | DS_ABSALIGN))) {
        // Relative to the parent's client area; without a parent, relative to the screen.
        POINT origin{0, 0};
        if (parent && ClientToScreen(parent, &origin)) return {x + origin.x, y + origin.y};
        return {x, y};
    }
    if ((style & WS_CHILD) && (style & DS_CONTROL)) return {x, y};
    return {std::max(x, 0), std::max(y, 0)};
}

// The template gave the size in dialog units; in pixel units the client area gets the
// requested size, and the window is placed by pixels too.
void PlaceInPixels(HWND dialog, HWND parent, std::uint32_t style, std::int32_t x, std::int32_t y,
                   std::int32_t width, std::int32_t height) {
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    width += (window.right - window.left) - client.right;
    height += (window.bottom - window.top) - client.bottom;
    const POINT position = PixelPosition(parent, style, x, y, width, height);
    SetWindowPos(dialog, nullptr, position.x, position.y, width, height, kPlacementFlags);
}

std::int32_t ShowCommandOf(std::uint32_t style) {
    if (style & WS_MAXIMIZE) return SW_MAXIMIZE;
    if (style & WS_MINIMIZE) return SW_MINIMIZE;
    return SW_SHOW;
}

bool RegisterDialog(HWND dialog, HWND parent, std::uint32_t units, std::uint32_t style) {
    const std::uint32_t unitFlag = (units & kUnitsPixels) ? kFlagPixelUnits : kFlagDialogUnits;
    DialogRecord* record = CreateDialogRecord(dialog, parent, kFlagDialog | unitFlag, kKindDialog);
    if (!record) return false;
    record->style = style;
    record->showCommand = ShowCommandOf(style);
    record->dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    return true;
}

}  // namespace

HWND NewDialog(TextStack& stack, std::uint32_t units, HWND parent, std::int32_t x, std::int32_t y,
               std::int32_t width, std::int32_t height, std::uint32_t style, std::uint32_t extendedStyle) {
    WideTextArgument caption(stack);
    style = NormaliseDialogStyle(style, x, y, parent != nullptr);
    DialogTemplateBuffer buffer;
    BuildDialogTemplate(buffer, {style, extendedStyle, x, y, width, height, CurrentDialogFont()});
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(buffer.bytes), parent,
                                             EngineDialogProc, 0);
    if (!dialog) return nullptr;
    if (units & kUnitsPixels) PlaceInPixels(dialog, parent, style, x, y, width, height);
    SetWindowTextW(dialog, caption.get());
    if (!RegisterDialog(dialog, parent, units, style)) {
        // Nobody could reach a window without a record; it must not outlive this call.
        DestroyWindow(dialog);
        return nullptr;
    }
    return dialog;
}
