// Copy and box drawing into the current graphic target.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

// The raster operation of a mix number: the fixed table, SRCCOPY for any value out of it.
DWORD RasterOperationOfMix(std::uint32_t mix);
// A coordinate as a pixel: nearest integer, halves to even.
std::int32_t RoundToPixel(float coordinate);

// Copies the whole source target (as large as both canvases allow) to (0, 0).
void CopyGraphic(ObjectHandle sourceHandle, std::int32_t sourceId, std::uint32_t mix);
// Copies the source rectangle between two corners (both included, any order) to (x, y).
void CopyGraphicRegion(ObjectHandle sourceHandle, std::int32_t sourceId, float x1, float y1, float x2,
                       float y2, float x, float y, std::uint32_t mix);
// A box outline between two corners; colour -1 = foreground; fill -1 = outline colour,
// -2 = no fill; fill style 0 solid, 1-6 hatched; rounding in percent, 0x80000000 = ellipse.
void DrawGraphicBox(float x1, float y1, float x2, float y2, std::uint32_t rounding, std::int32_t colour,
                    std::int32_t fillColour, std::uint32_t fillStyle);
