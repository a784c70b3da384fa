// Child controls added to an engine dialog by class index.
#include "dialogs/add_control.h"

#include <commctrl.h>

#include "dialogs/control_classes.h"
#include "dialogs/control_images.h"
#include "dialogs/control_setup.h"
#include "dialogs/text_argument.h"

namespace {

struct ControlPlan {
    const wchar_t* className;
    const wchar_t* windowText;
    ControlStyle styles;
    std::uint32_t imageFlags;
    bool treeCheckBoxes;
};

// Index 0 names its class by text; hosting component objects is not part of this engine.
bool IsCreatableClass(std::int32_t classIndex) {
    return classIndex == kClassNamedByText || (FindControlClass(classIndex) && classIndex != kClassHostedObject);
}

struct PixelArea {
    std::int32_t x, y, width, height;
};

// Coordinates wrap rather than overflow, as in the window system's own 32-bit arithmetic.
std::int32_t WrappedSum(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t WrappedDifference(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// The control's place in pixels; a dialog in dialog units maps it with its font.
PixelArea ToPixels(HWND dialog, std::uint32_t units, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height) {
    if (units != kFlagDialogUnits) return {x, y, width, height};
    RECT rect{x, y, WrappedSum(x, width), WrappedSum(y, height)};
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top, WrappedDifference(rect.right, rect.left), WrappedDifference(rect.bottom, rect.top)};
}

ControlPlan PlanControl(std::int32_t classIndex, const wchar_t* className, const wchar_t* caption,
                        std::uint32_t style, std::uint32_t extendedStyle, SIZE size) {
    if (classIndex == kClassNamedByText) return {className, caption, {style, extendedStyle}, 0, false};
    ControlPlan plan{FindControlClass(classIndex)->name, caption,
                     ResolveControlStyle(classIndex, style, extendedStyle, size.cx, size.cy), 0, false};
    if (classIndex == kClassTreeView && (plan.styles.style & TVS_CHECKBOXES)) {
        plan.treeCheckBoxes = true;
        plan.styles.style &= ~TVS_CHECKBOXES;
    }
    if (IsImageClass(classIndex)) {
        // The caption names the image resource; the control itself shows no text.
        plan.windowText = L"";
        if (HasBitmapResource(caption)) {
            plan.imageFlags = kFlagImageIsBitmap;
        } else {
            plan.imageFlags = kFlagImageIsIcon;
            plan.styles.style = IconImageStyle(classIndex, plan.styles.style);
        }
    }
    return plan;
}

DialogRecord* RegisterControl(HWND control, HWND dialog, std::int32_t classIndex, std::uint32_t flags,
                              const ControlStyle& styles, DialogCallback controlCallback) {
    DialogRecord* record = CreateDialogRecord(control, dialog, flags, classIndex);
    if (!record) return nullptr;
    record->callback = controlCallback;
    record->style = styles.style;
    record->extendedStyle = styles.extendedStyle;
    return record;
}

void AddItems(HWND control, std::int32_t classIndex, const ControlItems* items) {
    if (!items) return;
    const UINT addString = classIndex == kClassComboBox ? CB_ADDSTRING : LB_ADDSTRING;
    for (int i = 0; i < items->count; ++i) {
        const wchar_t* text = items->texts[i];
        if (text && *text) SendMessageW(control, addString, 0, reinterpret_cast<LPARAM>(text));
    }
}

}  // namespace

void AddControl(TextStack& stack, std::int32_t classIndex, HWND dialog, std::int32_t controlId,
                const ControlItems* items, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, std::uint32_t style, std::uint32_t extendedStyle,
                DialogCallback controlCallback) {
    WideTextArgument caption(stack);
    WideTextArgument className(stack);
    const DialogRecord* dialogRecord = FindDialogRecord(dialog);
    if (!dialogRecord || !IsCreatableClass(classIndex)) return;
    // Read now: creating the window sends the dialog messages that may end it.
    const std::uint32_t units = dialogRecord->flags & kFlagUnitsMask;
    const HFONT font = dialogRecord->dialogFont;

    const PixelArea area = ToPixels(dialog, units, x, y, width, height);
    const SIZE size{area.width, area.height};
    const ControlPlan plan = PlanControl(classIndex, className.get(), caption.get(), style, extendedStyle, size);
    HWND control = CreateWindowExW(plan.styles.extendedStyle, plan.className, plan.windowText, plan.styles.style,
                                   area.x, area.y, area.width, area.height, dialog,
                                   reinterpret_cast<HMENU>(static_cast<std::intptr_t>(controlId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) return;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

    const std::uint32_t flags = kFlagControl | units | plan.imageFlags;
    DialogRecord* record = RegisterControl(control, dialog, classIndex, flags, plan.styles, controlCallback);
    AddItems(control, classIndex, items);
    SetUpControl({dialog, control, record, classIndex, controlId, plan.styles.style, size, caption.get(),
                  plan.treeCheckBoxes});
}
