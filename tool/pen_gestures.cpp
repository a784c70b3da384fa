// Pen and touch over the overlay as plain mouse input: no press-and-hold, no flicks.
#include "tool/pen_gestures.h"

#include <tpcshrd.h>

#include "tool/tool_state.h"

namespace {

// The window property that the system's pen and touch service reads before it turns a contact
// into gestures. The Windows SDK names it MICROSOFT_TABLETPENSERVICE_PROPERTY; MinGW lacks it.
constexpr wchar_t kPenServiceProperty[] = L"MicrosoftTabletPenServiceProperty";

// Without its waves and circles the feedback would not match what the drag does.
constexpr DWORD kPlainMouseInput =
    TABLET_DISABLE_PRESSANDHOLD | TABLET_DISABLE_PENTAPFEEDBACK | TABLET_DISABLE_PENBARRELFEEDBACK |
    TABLET_DISABLE_FLICKS;

}  // namespace

void TurnOffPenGestures(HWND overlay) {
    ToolState& tool = Tool();
    // The service runs in another process and finds the property by its global atom, held for as
    // long as the property is set: a global atom outlives the process unless it is deleted.
    tool.penServiceAtom = GlobalAddAtomW(kPenServiceProperty);
    if (!tool.penServiceAtom) return;
    if (!SetPropW(overlay, MAKEINTATOM(tool.penServiceAtom), reinterpret_cast<HANDLE>(kPlainMouseInput))) {
        RestorePenGestures(overlay);
    }
}

void RestorePenGestures(HWND overlay) {
    ToolState& tool = Tool();
    if (!tool.penServiceAtom) return;
    RemovePropW(overlay, MAKEINTATOM(tool.penServiceAtom));
    GlobalDeleteAtom(tool.penServiceAtom);
    tool.penServiceAtom = 0;
}
