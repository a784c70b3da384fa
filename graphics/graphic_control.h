// The graphic control: an owner-draw "STATIC" child whose picture lives in a backing store.
#pragma once
#include <windows.h>

#include "graphics/object_list.h"

// Subclasses the control, gives it a backing store of its client size (filled with the
// background brush) and the default font, and makes it current if the thread has no target.
void SetUpGraphicControl(ObjectRecord* record);
// Paints a graphic control of `dialog` from its backing store; FALSE when the item is not a
// graphic control or not a full redraw.
BOOL PaintGraphicControl(HWND dialog, const DRAWITEMSTRUCT* item);
// Releases a graphic target record already taken out of the object list: font use, background
// brush unless shared, backing bitmap, memory DC, then the record itself.
void ReleaseGraphicTarget(ObjectRecord* record);
