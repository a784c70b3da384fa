// Release of the object records of a destroyed dialog or control.
#include "dialogs/release_object_record.h"

#include "dialogs/control_images.h"
#include "graphics/graphic_control.h"
#include "dialogs/dialog_record.h"

namespace {

// Records with the same colour share one brush; the last holder deletes it. A brush that also
// serves as the record's background brush is left to the graphic release.
void ReleaseColourBrush(const ObjectRecord* record) {
    HBRUSH brush = record->colourBrush;
    if (!brush || brush == record->backgroundBrush) return;
    if (!IsBrushShared(brush, record)) DeleteObject(brush);
}

// `record` is already out of the list.
void ReleaseRecordResources(DialogRecord* record) {
    ReleaseColourBrush(record);
    ReleaseImage(record->image, record->flags);
    ReleaseImage(record->imageCopy, record->flags);
    if (HasGraphicFields(record->kind)) {
        ReleaseGraphicTarget(record);
    } else {
        FreeObjectRecord(record);
    }
}

}  // namespace

void ReleaseObjectRecord(HWND window) {
    const ObjectHandle handle = HandleOf(window);
    while (const ObjectRecord* child = FindChildRecord(handle)) ReleaseObjectRecord(WindowOf(child->handle));
    DialogRecord* record = FindDialogRecord(window);
    if (!record) return;
    UnlinkObjectRecord(record);
    ReleaseRecordResources(record);
}
