// The dialog callback of the selection: photograph, crosshair, outline, end and export.
#include "tool/selection_callback.h"

#include <windowsx.h>

#include "dialogs/modal_loop.h"
#include "graphics/copy_graphic.h"
#include "graphics/dirty_rectangle.h"
#include "graphics/graphic_box.h"
#include "graphics/graphic_target.h"
#include "runtime/mouse_pointer.h"
#include "runtime/text_operations.h"
#include "tool/capture_screen.h"
#include "tool/drag_confinement.h"
#include "tool/pen_gestures.h"
#include "tool/selection_export.h"
#include "tool/tool_state.h"

namespace {

// The frozen photograph becomes the picture of the graphic control. False when the photograph
// or the control's backing store could not be made: the control would show its background.
// The control's DC is not asked for: a target whose DC is handed out is copied into in full.
bool ShowPhotograph() {
    ToolState& tool = Tool();
    if (!CaptureScreen()) return false;
    const ObjectRecord* control = ResolveGraphicTarget(HandleOf(tool.dialog), kSelectionControlId);
    if (!control || !control->memoryDC) return false;
    AttachGraphic(HandleOf(tool.dialog), kSelectionControlId, kAttachBuffered);
    CopyGraphic(tool.screenBitmap, 0, SRCCOPY);
    return true;
}

// Restore, outline and one repaint: the buffered control shows both together.
void DrawSelectionOutline() {
    const ToolState& tool = Tool();
    CopyGraphic(tool.screenBitmap, 0, SRCCOPY);
    DrawGraphicBox(static_cast<float>(tool.anchor.x), static_cast<float>(tool.anchor.y),
                   static_cast<float>(tool.current.x), static_cast<float>(tool.current.y), 0, kOutlineColour,
                   kNoFill, 0);
    RedrawGraphic();
}

void SetAnchorPoint() {
    ToolState& tool = Tool();
    TextStack stack;
    tool.dragging = 1;
    // The runtime's record assignment, byte for byte through a temporary text, as the program
    // assigns every fixed-size record; a plain `=` would give the same point.
    RecordToText(stack, &tool.current, sizeof tool.current);
    TextToRecord(stack, &tool.anchor, sizeof tool.anchor);
}

// Ends the dialog once. While it is being destroyed the report box runs its own message loop,
// which still delivers mouse messages and the IDCANCEL that closing posts to the dialog.
void EndSelection(bool exportSelection) {
    ToolState& tool = Tool();
    if (tool.ending) return;
    tool.ending = 1;
    tool.exporting = exportSelection ? 1 : 0;
    DialogEnd(tool.dialog, 0);
}

// Without a photograph there is nothing to select from: the dialog ends before it is shown, and
// the main routine tells the user.
void AbandonSelection() {
    Tool().captureFailed = 1;
    EndSelection(false);
}

// The mouse message that WM_SETCURSOR announces.
UINT AnnouncedMouseMessage(LPARAM lParam) { return HIWORD(lParam); }

// Moves follow the pointer: the outline is drawn to where the pointer is now.
void TrackSelection(UINT mouseMessage) {
    ToolState& tool = Tool();
    if (tool.ending) return;
    GetCursorPos(&tool.current);
    ScreenToClient(tool.dialog, &tool.current);
    if (mouseMessage == WM_MOUSEMOVE && tool.dragging) DrawSelectionOutline();
}

// The press and the release carry the point where they happened; by the time they are handled a
// busy system may have moved the pointer on, so the corners are taken from the messages, and kept
// on the photograph.
void TakeButtonPoint(LPARAM lParam) {
    ToolState& tool = Tool();
    tool.current = OnPhotograph({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void PressButton(LPARAM lParam) {
    if (Tool().ending) return;
    TakeButtonPoint(lParam);
    SetAnchorPoint();
    ConfinePointer(Tool().dialog);
}

// A release needs a press in this window: one without belongs to a click that began elsewhere,
// such as the one that started the tool, and must not select from the origin.
void ReleaseButton(LPARAM lParam) {
    if (Tool().ending || !Tool().dragging) return;
    TakeButtonPoint(lParam);
    EndSelection(true);
}

}  // namespace

std::int32_t SelectionCallback(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    std::int32_t result = 0;
    switch (message) {
    case WM_INITDIALOG:
        if (ShowPhotograph()) {
            TurnOffPenGestures(Tool().dialog);
        } else {
            AbandonSelection();
        }
        break;
    case WM_DESTROY:
        // Every end comes here, before the report box.
        RestorePenGestures(Tool().dialog);
        FreePointer();
        // Only a released button exports; Escape, Alt+F4 and Close leave everything as it was.
        if (Tool().exporting) {
            Tool().exporting = 0;
            ExportSelection();
        }
        break;
    case WM_MOUSEMOVE:
        SetMousePointer(kCrosshairPointer);
        result = 1;
        break;
    case WM_SETCURSOR:
        TrackSelection(AnnouncedMouseMessage(lParam));
        // Answered here, the system does not put the class arrow back before each mouse message.
        if (LOWORD(lParam) == HTCLIENT) {
            SetMousePointer(kCrosshairPointer);
            result = 1;
        }
        break;
    case WM_LBUTTONDOWN:
        PressButton(lParam);
        break;
    case WM_LBUTTONUP:
        ReleaseButton(lParam);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndSelection(false);
        break;
    // Losing the foreground: the engine keeps WM_ACTIVATE to itself, and these reach the callback.
    case WM_ACTIVATEAPP:
        if (!wParam) FreePointer();
        break;
    case WM_CANCELMODE:
        FreePointer();
        break;
    }
    return result;
}
