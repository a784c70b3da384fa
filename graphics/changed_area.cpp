// Areas of a graphic target kept as a few rectangles.
#include "graphics/changed_area.h"

void ChangedArea::Add(const RECT& rect) {
    if (IsRectEmpty(&rect)) return;
    if (count < kMostRects) {
        rects[count++] = rect;
        return;
    }
    RECT bounds = rect;
    for (std::int32_t i = 0; i < count; ++i) UnionRect(&bounds, &bounds, &rects[i]);
    rects[0] = bounds;
    count = 1;
}

void ChangedArea::Add(const ChangedArea& other) {
    for (std::int32_t i = 0; i < other.count; ++i) Add(other.rects[i]);
}
