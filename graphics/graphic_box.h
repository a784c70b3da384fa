// Box outlines, optionally filled and with rounded corners, in the current graphic target.
#pragma once
#include <cstdint>

// The fill colour of a hollow box.
constexpr std::int32_t kNoFill = -2;

// A box outline between two corners; colour -1 = foreground; fill -1 = outline colour,
// -2 = no fill; fill style 0 solid, 1-6 hatched; rounding in percent, 0x80000000 = ellipse.
void DrawGraphicBox(float x1, float y1, float x2, float y2, std::uint32_t rounding, std::int32_t colour,
                    std::int32_t fillColour, std::uint32_t fillStyle);
