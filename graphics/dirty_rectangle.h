// The dirty rectangle of the current graphic target and the repaints that show it.
#pragma once
#include <cstdint>

class CurrentTargetLock;
struct ChangedArea;
struct ObjectRecord;

enum class Widening { None, ByPen };
// How far a drawing with the target's pen may reach beyond the corners it was given.
std::int32_t PenReach(const ObjectRecord* record);
// Adds a changed rectangle to the locked target's dirty rectangle and releases the graphic lock;
// then, unless the target is buffered, repaints the changed area of a graphic control at once.
// `changed`, when the operation knows it, is the part of the rectangle it really changed (a hollow
// outline leaves its inside alone); without it the whole rectangle counts.
void MarkGraphicDirty(CurrentTargetLock lock, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Widening widening, const ChangedArea* changed = nullptr);
// Whether the target's picture is its last whole copy of the source whose change stamp is
// `sourceStamp`, the source unchanged since: then it differs from the source only where it has
// been drawn over (drawnOver). Never for a target whose DC has been handed out, which may have
// been drawn on anywhere.
bool HoldsCopyOf(const ObjectRecord* target, std::uint64_t sourceStamp);
// The same as MarkGraphicDirty for a plain copy of a whole source picture over the whole canvas,
// whose change stamp was `sourceStamp`; 0 when the copy failed, so the next one copies everything.
void MarkGraphicCopied(CurrentTargetLock lock, std::uint64_t sourceStamp);
// Counts the whole picture of a locked target as changed, without touching the dirty rectangle:
// drawing the engine cannot follow, into the DC that GetGraphicDC hands out.
void MarkWholePictureChanged(ObjectRecord* record);
// Empties the current target's dirty rectangle. A graphic control is repainted at once, after the
// graphic lock is released (the paint runs the dialog's callback), wherever the engine has seen it
// change since it was last shown, and in full once its DC has been handed out; so the screen shows
// the whole backing store, as after a full repaint. Drawing that bypasses the engine altogether,
// on the control's window through GetDC (control), is not repainted over: invalidate the window
// for that. A memory bitmap, and a control whose DC has been handed out, count as wholly changed
// from here on.
void RedrawGraphic();
