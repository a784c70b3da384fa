// Box outlines, optionally filled and with rounded corners, in the current graphic target.
#include "graphics/graphic_box.h"

#include <algorithm>
#include <utility>

#include "graphics/dirty_rectangle.h"
#include "graphics/gdi_guards.h"
#include "graphics/graphic_target.h"
#include "graphics/round_to_pixel.h"

namespace {

constexpr std::uint32_t kEllipse = 0x80000000;  // rounding not given: the box becomes an ellipse
constexpr std::uint32_t kMostRounding = 100;
constexpr std::uint32_t kLastFillStyle = 6;
constexpr COLORREF kRgbBits = 0x00FFFFFF;

struct Box {
    std::int32_t left, top, right, bottom;
};

// A solid brush for style 0, a hatch brush (HS_HORIZONTAL on) for styles 1 to 6; the hatch
// gaps take the DC's opaque background colour.
HBRUSH CreateFillBrush(COLORREF colour, std::uint32_t style) {
    if (style == 0) return CreateSolidBrush(colour);
    return CreateHatchBrush(static_cast<int>(style - 1), colour);
}

SIZE CornerEllipse(const Box& box, std::uint32_t rounding) {
    const std::int64_t width = std::int64_t{box.right} - box.left;
    const std::int64_t height = std::int64_t{box.bottom} - box.top;
    if (rounding == kEllipse) return {static_cast<LONG>(width + 1), static_cast<LONG>(height + 1)};
    const auto extent = static_cast<LONG>(rounding * std::min(width, height) / 100);
    return {extent, extent};
}

void DrawBox(const ObjectRecord* target, const Box& box, std::uint32_t rounding, COLORREF colour,
             std::int32_t fillColour, std::uint32_t fillStyle) {
    HDC dc = target->memoryDC;
    ScopedGdiObject<HPEN> pen(CreatePen(target->penStyle, target->penWidth, colour));
    ScopedSelectObject selectedPen(dc, pen.get());
    ScopedGdiObject<HBRUSH> brush(
        fillColour == kNoFill ? nullptr : CreateFillBrush(static_cast<COLORREF>(fillColour) & kRgbBits, fillStyle));
    ScopedSelectObject selectedBrush(dc, fillColour == kNoFill ? GetStockObject(NULL_BRUSH) : brush.get());
    // Without our pen or brush the box would come out in whatever the DC last held.
    if (!selectedPen.ok() || !selectedBrush.ok()) return;
    const SIZE ellipse = CornerEllipse(box, rounding);
    RoundRect(dc, box.left, box.top, box.right, box.bottom, ellipse.cx, ellipse.cy);
}

// The rectangle clamped to the target's canvas; computed wide, since the corners come from any float.
RECT OnCanvas(const ObjectRecord* target, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom) {
    const auto clamp = [](std::int64_t value, LONG most) {
        return static_cast<LONG>(std::clamp<std::int64_t>(value, 0, most));
    };
    return {clamp(left, target->canvasSize.cx), clamp(top, target->canvasSize.cy),
            clamp(right, target->canvasSize.cx), clamp(bottom, target->canvasSize.cy)};
}

// A hollow, square-cornered outline changes only a band along its edges: from as far out as the
// pen reaches to as far in as it can (the pen's reach plus its width). So a repaint of a moving
// outline covers its old and new edges, not the inside.
ChangedArea OutlineBand(const ObjectRecord* target, const Box& box) {
    const std::int64_t out = PenReach(target), in = out + target->penWidth;
    const std::int64_t left = box.left, top = box.top, right = box.right, bottom = box.bottom;
    ChangedArea band{};
    if (right - left <= 2 * in || bottom - top <= 2 * in) {
        band.Add(OnCanvas(target, left - out, top - out, right + out, bottom + out));
        return band;
    }
    band.Add(OnCanvas(target, left - out, top - out, right + out, top + in));
    band.Add(OnCanvas(target, left - out, bottom - in, right + out, bottom + out));
    band.Add(OnCanvas(target, left - out, top + in, left + in, bottom - in));
    band.Add(OnCanvas(target, right - in, top + in, right + out, bottom - in));
    return band;
}

}  // namespace

void DrawGraphicBox(float x1, float y1, float x2, float y2, std::uint32_t rounding, std::int32_t colour,
                    std::int32_t fillColour, std::uint32_t fillStyle) {
    CurrentTargetLock lock;
    const ObjectRecord* target = lock.get();
    if (!target) return;
    const std::int32_t left = RoundToPixel(x1), top = RoundToPixel(y1);
    const std::int32_t right = RoundToPixel(x2), bottom = RoundToPixel(y2);
    const COLORREF outline =
        (colour == kForegroundColour ? target->foregroundColour : static_cast<COLORREF>(colour)) & kRgbBits;
    if (rounding > kMostRounding && rounding != kEllipse) rounding = kMostRounding;
    if (fillColour == kSameAsOutline) fillColour = static_cast<std::int32_t>(outline);
    if (fillStyle > kLastFillStyle) fillStyle = 0;
    const Box box{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};

    DrawBox(target, box, rounding, outline, fillColour, fillStyle);
    if (fillColour == kNoFill && rounding == 0) {
        const ChangedArea band = OutlineBand(target, box);
        MarkGraphicDirty(std::move(lock), box.left, box.top, box.right, box.bottom, Widening::ByPen, &band);
        return;
    }
    MarkGraphicDirty(std::move(lock), box.left, box.top, box.right, box.bottom, Widening::ByPen);
}
