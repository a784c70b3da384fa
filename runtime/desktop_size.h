// The size of the primary display.
#pragma once
#include <cstdint>

struct DesktopSize {
    std::int32_t width;
    std::int32_t height;
};

// The desktop window's right and bottom edges, in pixels; 0 x 0 if they cannot be read.
DesktopSize GetDesktopSize();
