// Conversion of drawing coordinates to pixels.
#include "graphics/round_to_pixel.h"

#include <cmath>

std::int32_t RoundToPixel(float coordinate) {
    // Beyond the 32-bit range, and for NaN, the integer-indefinite value, as the FPU gives it.
    if (!(coordinate >= -2147483648.0f && coordinate < 2147483648.0f)) return INT32_MIN;
    const float whole = std::floor(coordinate);
    const float fraction = coordinate - whole;
    auto pixel = static_cast<std::int64_t>(whole);
    if (fraction > 0.5f || (fraction == 0.5f && (pixel & 1) != 0)) ++pixel;
    return static_cast<std::int32_t>(pixel);
}
