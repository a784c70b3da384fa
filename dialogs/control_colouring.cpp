// Colours of controls that were given a text and background colour of their own.
#include "dialogs/control_colouring.h"

#include "dialogs/control_classes.h"
#include "graphics/object_list.h"

namespace {

constexpr std::int32_t kColourSystem = -1;

struct SystemColours {
    int text;
    int background;
};

// By message, from WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC.
constexpr SystemColours kSystemColours[] = {
    {COLOR_MENUTEXT, COLOR_MENU},        {COLOR_WINDOWTEXT, COLOR_WINDOW}, {COLOR_WINDOWTEXT, COLOR_WINDOW},
    {COLOR_BTNTEXT, COLOR_BTNFACE},      {COLOR_WINDOWTEXT, COLOR_BTNFACE}, {COLOR_WINDOWTEXT, COLOR_SCROLLBAR},
    {COLOR_WINDOWTEXT, COLOR_BTNFACE},
};
static_assert(sizeof kSystemColours / sizeof kSystemColours[0] == WM_CTLCOLORSTATIC - WM_CTLCOLORMSGBOX + 1);

// The record whose colours apply: the control's own, or for the edit field and drop-down list
// of a combo box, which have none, the combo box's.
const ObjectRecord* ColouringRecord(UINT message, HWND control) {
    if (const ObjectRecord* record = FindObjectRecord(HandleOf(control))) return record;
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORLISTBOX) return nullptr;
    const ObjectRecord* combo = FindObjectRecord(HandleOf(GetParent(control)));
    return combo && combo->kind == kClassComboBox ? combo : nullptr;
}

}  // namespace

INT_PTR ColourControl(UINT message, HDC dc, HWND control) {
    const ObjectRecord* record = ColouringRecord(message, control);
    if (!record || record->textColour == kColourNotSet) return 0;
    const SystemColours& system = kSystemColours[message - WM_CTLCOLORMSGBOX];
    const std::int32_t text = record->textColour;
    SetTextColor(dc, text == kColourSystem ? GetSysColor(system.text) : static_cast<COLORREF>(text));

    const std::int32_t background = record->controlBackColour;
    if (background >= 0) {
        SetBkColor(dc, static_cast<COLORREF>(background));
        return reinterpret_cast<INT_PTR>(record->colourBrush);
    }
    if (background == kColourSystem) {
        SetBkColor(dc, GetSysColor(system.background));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(system.background));
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}
