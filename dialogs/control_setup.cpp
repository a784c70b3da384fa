// The set-up each control class needs once its window and record exist.
#include "dialogs/control_setup.h"

#include <commctrl.h>

#include "dialogs/control_classes.h"
#include "dialogs/control_images.h"
#include "graphics/graphic_control.h"

namespace {

constexpr std::int32_t kCommonControlsFirst = kClassHeader;
constexpr std::int32_t kCommonControlsLast = kClassTab;

// A bit, not a type: the default split button (BS_DEFSPLITBUTTON) and command link
// (BS_DEFCOMMANDLINK) have it as well.
void SetUpDefaultButton(const NewControl& control) {
    if (control.style & BS_DEFPUSHBUTTON) {
        SendMessageW(control.dialog, DM_SETDEFID, static_cast<WPARAM>(control.id), 0);
    }
}

void SetUpScrollBar(HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = 100;
    info.nPage = 10;
    info.nPos = 0;
    SendMessageW(window, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
}

void SetUpCommonControl(const NewControl& control) {
    SendMessageW(control.window, CCM_SETUNICODEFORMAT, TRUE, 0);
    if (control.classIndex == kClassToolbar) {
        SendMessageW(control.window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    }
}

// Check boxes are given to a tree view only after creation, when it makes their images.
void SetUpTreeCheckBoxes(const NewControl& control) {
    if (!control.treeCheckBoxes) return;
    SetWindowLongW(control.window, GWL_STYLE, static_cast<LONG>(control.style | TVS_CHECKBOXES));
    control.record->style |= TVS_CHECKBOXES;
}

}  // namespace

void SetUpControl(const NewControl& control) {
    const std::int32_t index = control.classIndex;
    if (index == kClassPushButton || index == kClassImageButton || index == kClassSizedImageButton) {
        SetUpDefaultButton(control);
    }
    if (index == kClassScrollBar) SetUpScrollBar(control.window);
    if (index >= kCommonControlsFirst && index <= kCommonControlsLast) SetUpCommonControl(control);
    if (!control.record) return;
    if (IsImageClass(index)) SetUpImageControl(*control.record, index, control.caption, control.size);
    if (index == kKindGraphicControl) SetUpGraphicControl(control.record);
    if (index == kClassTreeView) SetUpTreeCheckBoxes(control);
}
