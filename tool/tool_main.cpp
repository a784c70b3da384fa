// The tool's main routine: one full-screen dialog holding one graphic control, run modally.
#include "tool/tool_main.h"

#include <iterator>

#include "dialogs/add_control.h"
#include "dialogs/dialog_accelerators.h"
#include "dialogs/modal_loop.h"
#include "dialogs/new_dialog.h"
#include "runtime/desktop_size.h"
#include "runtime/text_operations.h"
#include "tool/selection_callback.h"
#include "tool/selection_report.h"
#include "tool/tool_literals.h"
#include "tool/tool_state.h"

namespace {

// The exit code of a run that had nothing to select from, as for a failed start.
constexpr int kExitNoPhotograph = 255;

// Escape and Alt+F4 reach the dialog as IDCANCEL wherever the keyboard focus lies, even on the
// graphic control, which asks for every key while it has the focus.
HACCEL CreateCancelKeys() {
    ACCEL keys[] = {
        {FVIRTKEY, VK_ESCAPE, IDCANCEL},
        {FVIRTKEY | FALT, VK_F4, IDCANCEL},
    };
    return CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

// Told after the dialog is gone, so the box is not hidden under a topmost full-screen window.
// Without a display the box cannot be shown either: the exit code alone tells.
int FailWithoutPhotograph() {
    ShowCaptureFailure();
    return kExitNoPhotograph;
}

}  // namespace

int ToolMain(HINSTANCE, HINSTANCE, const wchar_t*, int) {
    ToolState& tool = Tool();
    const DesktopSize desktop = GetDesktopSize();
    TextStack stack;

    PushLiteral(stack, Pool().empty);
    tool.dialog = NewDialog(stack, kUnitsPixels, nullptr, 0, 0, desktop.width, desktop.height, WS_POPUP,
                            WS_EX_TOPMOST);
    if (!tool.dialog) return FailWithoutPhotograph();

    PushEmptyText(stack);
    PushLiteral(stack, Pool().empty);
    AddControl(stack, kKindGraphicControl, tool.dialog, kSelectionControlId, nullptr, 0, 0, desktop.width,
               desktop.height, kGraphicControlStyle, 0, nullptr);

    SetDialogAccelerators(tool.dialog, CreateCancelKeys());
    ShowDialogModal(tool.dialog, SelectionCallback, nullptr);
    return tool.captureFailed ? FailWithoutPhotograph() : 0;
}
