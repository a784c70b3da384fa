// Conversion of drawing coordinates to pixels.
#pragma once
#include <cstdint>

// A coordinate as a pixel: nearest integer, halves to even.
std::int32_t RoundToPixel(float coordinate);
