// The control class table: window class and style rules of each control class index.
#pragma once
#include <cstdint>

// Class indices that take part in special rules; the graphic control, 14, is kKindGraphicControl.
constexpr std::int32_t kClassNamedByText = 0;
constexpr std::int32_t kClassPushButton = 1;
constexpr std::int32_t kClassScrollBar = 8;
constexpr std::int32_t kClassEdit = 9;
constexpr std::int32_t kClassImage = 10;
constexpr std::int32_t kClassSizedImage = 11;
constexpr std::int32_t kClassImageButton = 12;
constexpr std::int32_t kClassSizedImageButton = 13;
constexpr std::int32_t kClassHeader = 16;
constexpr std::int32_t kClassTreeView = 18;
constexpr std::int32_t kClassStatusBar = 20;
constexpr std::int32_t kClassToolbar = 21;
constexpr std::int32_t kClassTab = 22;
constexpr std::int32_t kClassHostedObject = 23;
constexpr std::int32_t kClassComboBox = 24;
constexpr std::int32_t kClassListBox = 25;

struct ControlClass {
    const wchar_t* name;
    std::uint32_t defaultStyle;
    std::uint32_t added;    // always added, whatever the caller asked for
    std::uint32_t removed;  // always removed
};

// The row of class index 1-25, or null.
const ControlClass* FindControlClass(std::int32_t classIndex);

struct ControlStyle {
    std::uint32_t style;
    std::uint32_t extendedStyle;
};

// The styles a control of table class `classIndex` is created with. A style of 0 takes the
// row's default, with a vertical scroll bar when taller than wide and a client edge instead of
// a border for edit, combo and list boxes; then the row's fixed bits are applied.
ControlStyle ResolveControlStyle(std::int32_t classIndex, std::uint32_t style, std::uint32_t extendedStyle,
                                 std::int32_t width, std::int32_t height);
