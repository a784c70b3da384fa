// The dirty rectangle of the current graphic target and the repaints that show it.
#pragma once
#include <cstdint>

class CurrentTargetLock;

enum class Widening { None, ByPen };
// Adds a changed rectangle to the locked target's dirty rectangle and releases the graphic lock;
// then, unless the target is buffered, repaints the changed area of a graphic control at once.
void MarkGraphicDirty(CurrentTargetLock lock, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Widening widening);
// Empties the current target's dirty rectangle and repaints a graphic control in full, at once,
// after releasing the graphic lock (the paint runs the dialog's callback).
void RedrawGraphic();
