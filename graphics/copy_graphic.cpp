// Copying between graphic targets.
#include "graphics/copy_graphic.h"

#include <algorithm>
#include <utility>

#include "graphics/dirty_rectangle.h"
#include "graphics/graphic_target.h"
#include "graphics/round_to_pixel.h"

namespace {

// Larger than any canvas: the dirty rectangle clamps it to the whole of the target.
constexpr std::int32_t kWholeCanvas = 500000;

constexpr DWORD kMixTable[16] = {
    SRCCOPY, SRCCOPY, NOTSRCERASE, SRCCOPY,   NOTSRCCOPY, SRCERASE, SRCCOPY,    SRCINVERT,
    SRCCOPY, SRCAND,  SRCCOPY,     SRCCOPY,   MERGEPAINT, SRCCOPY,  SRCCOPY,    SRCPAINT,
};

std::uint32_t Unsigned(LONG value) { return static_cast<std::uint32_t>(value); }

bool CopyRect(const ObjectRecord* target, const ObjectRecord* source, const RECT& rect) {
    return BitBlt(target->memoryDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  source->memoryDC, rect.left, rect.top, SRCCOPY) != FALSE;
}

// Copies back only what was drawn over the target since its last copy of the unchanged source.
bool CopyDrawnOver(const ObjectRecord* target, const ObjectRecord* source) {
    for (std::int32_t i = 0; i < target->drawnOver.count; ++i) {
        if (!CopyRect(target, source, target->drawnOver.rects[i])) return false;
    }
    return true;
}

}  // namespace

DWORD RasterOperationOfMix(std::uint32_t mix) { return mix < 16 ? kMixTable[mix] : SRCCOPY; }

void CopyGraphic(ObjectHandle sourceHandle, std::int32_t sourceId, std::uint32_t mix) {
    const ObjectRecord* source = ResolveGraphicTarget(sourceHandle, sourceId);
    if (!source) return;
    CurrentTargetLock lock;
    const ObjectRecord* target = lock.get();
    if (!target) return;
    const auto width = std::min(Unsigned(source->canvasSize.cx), Unsigned(target->canvasSize.cx));
    const auto height = std::min(Unsigned(source->canvasSize.cy), Unsigned(target->canvasSize.cy));
    const DWORD operation = RasterOperationOfMix(mix);
    // A plain copy over the whole canvas makes the target the source's picture again.
    const bool wholePicture = operation == SRCCOPY && width == Unsigned(target->canvasSize.cx) &&
                              height == Unsigned(target->canvasSize.cy);
    bool copied;
    if (wholePicture && HoldsCopyOf(target, source->changeStamp)) {
        // The target already holds that picture but for what was drawn over it since: only that
        // differs, so only that is copied back, and the canvas ends the same as after a whole copy.
        copied = CopyDrawnOver(target, source);
    } else {
        copied = BitBlt(target->memoryDC, 0, 0, static_cast<int>(width), static_cast<int>(height),
                        source->memoryDC, 0, 0, operation) != FALSE;
    }
    if (wholePicture) {
        MarkGraphicCopied(std::move(lock), copied ? source->changeStamp : 0);
        return;
    }
    MarkGraphicDirty(std::move(lock), 0, 0, kWholeCanvas, kWholeCanvas, Widening::None);
}

void CopyGraphicRegion(ObjectHandle sourceHandle, std::int32_t sourceId, float x1, float y1, float x2,
                       float y2, float x, float y, std::uint32_t mix) {
    const ObjectRecord* source = ResolveGraphicTarget(sourceHandle, sourceId);
    if (!source) return;
    const std::int32_t sourceX1 = RoundToPixel(x1), sourceY1 = RoundToPixel(y1);
    const std::int32_t sourceX2 = RoundToPixel(x2), sourceY2 = RoundToPixel(y2);
    CurrentTargetLock lock;
    const ObjectRecord* target = lock.get();
    if (!target) return;
    const std::int32_t left = std::min(sourceX1, sourceX2), right = std::max(sourceX1, sourceX2);
    const std::int32_t top = std::min(sourceY1, sourceY2), bottom = std::max(sourceY1, sourceY2);
    // Both corners are inside the rectangle. The unsigned arithmetic wraps rather than overflows;
    // the DC clips whatever falls outside the target.
    const std::uint32_t toX = static_cast<std::uint32_t>(RoundToPixel(x));
    const std::uint32_t toY = static_cast<std::uint32_t>(RoundToPixel(y));
    const std::uint32_t width = std::min(static_cast<std::uint32_t>(right) - static_cast<std::uint32_t>(left) + 1,
                                         Unsigned(target->canvasSize.cx) - toX + 1);
    const std::uint32_t height = std::min(static_cast<std::uint32_t>(bottom) - static_cast<std::uint32_t>(top) + 1,
                                          Unsigned(target->canvasSize.cy) - toY + 1);
    BitBlt(target->memoryDC, static_cast<int>(toX), static_cast<int>(toY), static_cast<int>(width),
           static_cast<int>(height), source->memoryDC, left, top, RasterOperationOfMix(mix));
    MarkGraphicDirty(std::move(lock), 0, 0, kWholeCanvas, kWholeCanvas, Widening::None);
}
