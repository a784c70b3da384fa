// The pointer numbers and their system cursors.
#include "runtime/mouse_pointer.h"

#include <atomic>

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

// A shared cursor's handle, once loaded, is what every later load of it returns, so each is
// loaded once: the load costs more than the rest of setting the pointer, done on every mouse move.
// A failed load is tried again next time.
std::atomic<HCURSOR> loadedCursors[kLastPointerNumber + 1];

HCURSOR LoadPointerCursor(std::uint32_t number) {
    if (HCURSOR loaded = loadedCursors[number].load(std::memory_order_relaxed)) return loaded;
    // Shared system cursors at the default size: nothing to destroy later.
    const auto cursor = static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(kPointerCursors[number]),
                                                        IMAGE_CURSOR, 0, 0,
                                                        LR_SHARED | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE));
    loadedCursors[number].store(cursor, std::memory_order_relaxed);
    return cursor;
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
