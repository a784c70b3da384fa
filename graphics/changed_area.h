// Areas of a graphic target kept as a few rectangles: what a control has not shown yet, and what
// has been drawn over the picture it last copied.
#pragma once
#include <windows.h>

#include <cstdint>

// The union of up to kMostRects rectangles. A rectangle that does not fit merges everything into
// one bounding box: the area only ever grows, so a repaint of it never misses a change. All zero
// is the empty area, as records are created.
struct ChangedArea {
    static constexpr std::int32_t kMostRects = 8;
    RECT rects[kMostRects];
    std::int32_t count;

    bool empty() const { return count == 0; }
    void Clear() { count = 0; }
    // Empty rectangles add nothing.
    void Add(const RECT& rect);
    void Add(const ChangedArea& other);
};
