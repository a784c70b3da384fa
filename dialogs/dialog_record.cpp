// Records of dialogs and controls in the object list.
#include "dialogs/dialog_record.h"

DialogRecord* CreateDialogRecord(HWND window, HWND parent, std::uint32_t flags, std::int32_t kind) {
    return static_cast<DialogRecord*>(
        CreateObjectRecord(HandleOf(window), HandleOf(parent), flags, kind, sizeof(DialogRecord)));
}

DialogRecord* FindDialogRecord(HWND window) {
    ObjectRecord* record = FindObjectRecord(HandleOf(window));
    // A memory bitmap's handle may take the same value as a window's.
    if (!record || !(record->flags & (kFlagDialog | kFlagControl))) return nullptr;
    return static_cast<DialogRecord*>(record);
}
