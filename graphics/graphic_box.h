// Box outlines, optionally filled and with rounded corners, in the current graphic target.
#pragma once
#include <cstdint>

// Colours that name no RGB value: the target's foreground as the outline colour, the outline's
// own colour as the fill colour, and no fill at all (a hollow box).
constexpr std::int32_t kForegroundColour = -1;
constexpr std::int32_t kSameAsOutline = -1;
constexpr std::int32_t kNoFill = -2;

// A box outline between two corners in `colour`, filled with `fillColour` in fill style 0 (solid)
// or 1-6 (hatched); rounding in percent, 0x80000000 = ellipse.
void DrawGraphicBox(float x1, float y1, float x2, float y2, std::uint32_t rounding, std::int32_t colour,
                    std::int32_t fillColour, std::uint32_t fillStyle);
