// Graphic targets: memory bitmaps and graphic controls, the current target of each thread.
#pragma once
#include <windows.h>

#include <cstdint>

#include "graphics/object_list.h"

constexpr std::uint32_t kAttachBuffered = 0x200;

// A new memory bitmap of the screen's colour format, not cleared and not made current. Its
// handle (the HBITMAP), or 0 on failure or for a size that is not positive.
ObjectHandle NewGraphicBitmap(std::int32_t width, std::int32_t height);
// The record of the target named by (handle, control id): the dialog's control with that id, or
// else the handle itself. Null when it names no graphic control or memory bitmap.
ObjectRecord* ResolveGraphicTarget(ObjectHandle handle, std::int32_t controlId);
// Makes the named target current, buffered if `option` has 0x200 (a memory bitmap always is).
// A pair that names no target records runtime error 5 and leaves no current target.
void AttachGraphic(ObjectHandle handle, std::int32_t controlId, std::uint32_t option);
// The current target's memory DC, or 0.
HDC GetGraphicDC();
// Empties the current target's dirty rectangle and repaints a graphic control in full, at once,
// after releasing the graphic lock (the paint runs the dialog's callback).
void RedrawGraphic();

// Takes the graphic lock and returns the current target's record; returns null, with the lock
// released, when there is no current memory bitmap or graphic control.
ObjectRecord* LockCurrentGraphicTarget();
void UnlockGraphics();
enum class Widening { None, ByPen };
// Adds a changed rectangle to the record's dirty rectangle and releases the graphic lock; then,
// unless the target is buffered, repaints the changed area of a graphic control at once.
void MarkGraphicDirty(ObjectRecord* record, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, Widening widening);

// Selects the default font (number 1) into a target's memory DC and reads its metrics, then sets
// the DC's text colour, background colour and opaque mode; shared by bitmaps and controls.
void SetUpTargetDC(ObjectRecord* record);
// The handle of the thread's current graphic target (0 = none); set directly by control set-up.
ObjectHandle CurrentGraphicTarget();
void SetCurrentGraphicTarget(ObjectHandle handle);
