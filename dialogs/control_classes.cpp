// The control class table: window class and style rules of each control class index.
#include "dialogs/control_classes.h"

#include <windows.h>

namespace {

constexpr ControlClass kControlClasses[] = {
    {L"BUTTON", 0x50010000, 0x50000000, 0},                   // 1 push button
    {L"BUTTON", 0x50010006, 0x50000006, 0xA7FC00C9},          // 2 three-state check box
    {L"BUTTON", 0x50010003, 0x50000003, 0xA7FC00CC},          // 3 check box
    {L"BUTTON", 0x50000007, 0x50000007, 0xA7FFD0F8},          // 4 group frame
    {L"STATIC", 0x50000000, 0x50000000, 0},                   // 5 text label
    {L"STATIC", 0x50000012, 0x50000000, 0},                   // 6 etched frame or line
    {L"BUTTON", 0x50010009, 0x50000009, 0xA7FC00C6},          // 7 radio button
    {L"SCROLLBAR", 0x50000000, 0x50000000, 0},                // 8 scroll bar
    {L"EDIT", 0x50810080, 0x50000000, 0},                     // 9 single-line edit field
    {L"STATIC", 0x5000000E, 0x5000000E, 0},                   // 10 image
    {L"STATIC", 0x5000000E, 0x5000000E, 0},                   // 11 image at the control's size
    {L"BUTTON", 0x50010080, 0x50000080, 0},                   // 12 image button
    {L"BUTTON", 0x50010080, 0x50000080, 0},                   // 13 image button at its size
    {L"STATIC", 0x5001000D, 0x5000000D, 0},                   // 14 graphic control
    {L"STATIC", 0x5001000D, 0x5000000D, 0},                   // 15 owner-drawn static
    {L"SysHeader32", 0x50000000, 0x50000000, 0},              // 16 header
    {L"SysListView32", 0x50000009, 0x50000000, 0},            // 17 list view
    {L"SysTreeView32", 0x50010027, 0x50000000, 0},            // 18 tree view
    {L"msctls_progress32", 0x50800000, 0x50000000, 0},        // 19 progress bar
    {L"msctls_statusbar32", 0x50000003, 0x50000000, 0},       // 20 status bar
    {L"ToolbarWindow32", 0x50800801, 0x50000000, 0},          // 21 toolbar
    {L"SysTabControl32", 0x56010000, 0x50000000, 0x305},      // 22 tab control
    {L"ACTIVEX", 0, 0, 0},                                    // 23 hosted component object
    {L"COMBOBOX", 0x50010102, 0x50000000, 0},                 // 24 combo box
    {L"LISTBOX", 0x50A10003, 0x50000001, 0},                  // 25 list box
};

constexpr std::int32_t kClassCount = sizeof kControlClasses / sizeof kControlClasses[0];
static_assert(kClassCount == kClassListBox);

bool DrawsClientEdge(std::int32_t classIndex) {
    return classIndex == kClassEdit || classIndex == kClassComboBox || classIndex == kClassListBox;
}

}  // namespace

const ControlClass* FindControlClass(std::int32_t classIndex) {
    if (classIndex < 1 || classIndex > kClassCount) return nullptr;
    return &kControlClasses[classIndex - 1];
}

ControlStyle ResolveControlStyle(std::int32_t classIndex, std::uint32_t style, std::uint32_t extendedStyle,
                                 std::int32_t width, std::int32_t height) {
    const ControlClass* row = FindControlClass(classIndex);
    if (!row) return {style, extendedStyle};
    if (style == 0) {
        style = row->defaultStyle;
        if (classIndex == kClassScrollBar && width < height) style |= SBS_VERT;
        if (DrawsClientEdge(classIndex) && (style & WS_BORDER)) {
            style &= ~WS_BORDER;
            extendedStyle |= WS_EX_CLIENTEDGE;
        }
    }
    return {(style | row->added) & ~row->removed, extendedStyle};
}
