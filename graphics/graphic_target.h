// Graphic targets (memory bitmaps and graphic controls), each thread's current target and its lock.
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
// The current target's memory DC, or 0. The caller may keep it and draw through it at any time;
// the engine sees none of that drawing, so from now on it shows and copies into this target in
// full. One rule remains for copies from it: drawing through the DC counts as a change of the
// target at this call and at each later RedrawGraphic of it. A whole copy of this target into one
// that already holds its last copy takes only the changes counted by then, so after drawing
// through the DC, RedrawGraphic before copying, as the tool's capture does.
HDC GetGraphicDC();

// The graphic lock, held with the current graphic target for one drawing operation. Taking it
// without a current memory bitmap or graphic control holds nothing and gives a null record. The
// lock is released when the value goes out of scope, by Release, or by MarkGraphicDirty, which
// takes it over; so no way out of an operation leaves it held. It is never held across a call
// that can run a dialog callback: the callback may draw, and the lock is not re-entrant.
class CurrentTargetLock {
public:
    CurrentTargetLock();
    ~CurrentTargetLock() { Release(); }
    CurrentTargetLock(CurrentTargetLock&& other) noexcept;
    CurrentTargetLock(const CurrentTargetLock&) = delete;
    CurrentTargetLock& operator=(const CurrentTargetLock&) = delete;
    CurrentTargetLock& operator=(CurrentTargetLock&&) = delete;
    // The current target's record while the lock is held; null otherwise.
    ObjectRecord* get() const { return record_; }
    explicit operator bool() const { return record_ != nullptr; }
    void Release();

private:
    ObjectRecord* record_;
};

// Selects the default font (number 1) into a target's memory DC and reads its metrics, then sets
// the DC's text colour, background colour and opaque mode; shared by bitmaps and controls.
void SetUpTargetDC(ObjectRecord* record);
// The handle of the thread's current graphic target (0 = none); set directly by control set-up.
ObjectHandle CurrentGraphicTarget();
void SetCurrentGraphicTarget(ObjectHandle handle);
