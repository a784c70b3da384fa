// The tool's literal pool: its constant image, built from the names the tool's code uses.
#include "tool/tool_literals.h"

#include <windows.h>

#include "dialogs/new_dialog.h"
#include "graphics/graphic_box.h"
#include "graphics/graphic_target.h"
#include "graphics/object_list.h"
#include "runtime/font_table.h"
#include "runtime/mouse_pointer.h"
#include "tool/selection_callback.h"
#include "tool/selection_export.h"
#include "tool/tool_main.h"

namespace {

constexpr LiteralPool kPoolImage = {
    kZeroCharacterLiteral,
    kLineBreakLiteral,
    kEmptyLiteral,
    kClipboardLineLiteral,
    kSizeLabelLiteral,
    kTimesLiteral,
    kTitleLiteral,
    kFileNameLiteral,
    kOpenVerbLiteral,
    {WM_INITDIALOG, WM_DESTROY, WM_MOUSEMOVE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP, kSelectionControlId,
     static_cast<std::int32_t>(WS_POPUP), WS_EX_TOPMOST, static_cast<std::int32_t>(kGraphicControlStyle),
     static_cast<std::int32_t>(SRCCOPY), kOutlineColour, kNoFill, static_cast<std::int32_t>(kCrosshairPointer),
     static_cast<std::int32_t>(kAttachBuffered), static_cast<std::int32_t>(kUnitsPixels), kKindGraphicControl,
     MB_ICONINFORMATION, static_cast<std::int32_t>(kFileNameSize), kDialogFontPointSize, SW_SHOWNORMAL,
     kMouseMessageShift},
    kClipboardFailedLiteral,
    kFileFailedLiteral,
    kCaptureFailedLiteral,
};

// The nine texts and the 22 numbers keep their offsets: further literals only ever follow them.
static_assert(kLiteralPoolCoreSize == 232, "the texts and numbers at the head of the pool moved");

PlacedLiteralPool<LiteralPool> placedPool(kPoolImage);

}  // namespace

void PlaceLiteralPool() { placedPool.Place(); }

const LiteralPool& Pool() { return placedPool.Get(); }
