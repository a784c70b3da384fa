// Copying between graphic targets.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

// The raster operation of a mix number: the fixed table, SRCCOPY for any value out of it.
DWORD RasterOperationOfMix(std::uint32_t mix);
// Copies the whole source target (as large as both canvases allow) to (0, 0).
void CopyGraphic(ObjectHandle sourceHandle, std::int32_t sourceId, std::uint32_t mix);
// Copies the source rectangle between two corners (both included, any order) to (x, y).
void CopyGraphicRegion(ObjectHandle sourceHandle, std::int32_t sourceId, float x1, float y1, float x2,
                       float y2, float x, float y, std::uint32_t mix);
