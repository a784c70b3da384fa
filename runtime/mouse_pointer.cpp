// The pointer numbers and their system cursors.
#include "runtime/mouse_pointer.h"

#include "runtime/float_control.h"

namespace {

constexpr std::uint32_t kLastPointerNumber = 13;

// Resource ids of the system cursors, by pointer number; number 0 never looks here.
constexpr std::uint16_t kPointerCursors[kLastPointerNumber + 1] = {
    0,
    32512,  // IDC_ARROW
    32515,  // IDC_CROSS
    32513,  // IDC_IBEAM
    32512,  // IDC_ARROW
    32646,  // IDC_SIZEALL
    32643,  // IDC_SIZENESW
    32645,  // IDC_SIZENS
    32642,  // IDC_SIZENWSE
    32644,  // IDC_SIZEWE
    32516,  // IDC_UPARROW
    32514,  // IDC_WAIT
    32648,  // IDC_NO
    32650,  // IDC_APPSTARTING
};

HCURSOR LoadPointerCursor(std::uint32_t number) {
    // Shared system cursors at the default size: nothing to destroy later.
    return static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(kPointerCursors[number]),
                                           IMAGE_CURSOR, 0, 0,
                                           LR_SHARED | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE));
}

}  // namespace

HCURSOR SetMousePointer(std::uint32_t number) {
    HCURSOR cursor = nullptr;
    if (number > kLastPointerNumber) {
        cursor = reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(number));
    } else if (number != 0) {
        cursor = LoadPointerCursor(number);
    }
    HCURSOR previous = SetCursor(cursor);
    LoadFloatControl();
    return previous;
}
