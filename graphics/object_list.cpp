// The object list: records found, linked and unlinked under the object list lock.
#include "graphics/object_list.h"

#include "graphics/spin_lock.h"

namespace {

ObjectRecord* objectList = nullptr;
long objectCount = 0;

ObjectRecord* FindUnlocked(ObjectHandle handle) {
    for (ObjectRecord* record = objectList; record; record = record->next) {
        if (record->handle == handle) return record;
    }
    return nullptr;
}

// A solid brush of `colour` that some record already holds, or a new one.
HBRUSH SharedBackgroundBrush(COLORREF colour) {
    {
        SpinLockHold hold(ObjectListLock());
        for (ObjectRecord* record = objectList; record; record = record->next) {
            if (record->backgroundBrush && record->backgroundColour == colour) return record->backgroundBrush;
            if (record->colourBrush && record->controlBackColour == static_cast<std::int32_t>(colour)) {
                return record->colourBrush;
            }
        }
    }
    return CreateSolidBrush(colour);
}

}  // namespace

ObjectRecord* FindObjectRecord(ObjectHandle handle) {
    SpinLockHold hold(ObjectListLock());
    return FindUnlocked(handle);
}

ObjectRecord* CreateObjectRecord(ObjectHandle handle, ObjectHandle parent, std::uint32_t flags,
                                 std::int32_t kind, std::size_t size) {
    auto* record = static_cast<ObjectRecord*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (!record) return nullptr;
    record->handle = handle;
    record->parent = parent;
    record->flags = flags;
    record->kind = kind;
    record->textColour = kColourNotSet;
    record->controlBackColour = kColourNotSet;
    if (HasGraphicFields(kind)) {
        record->foregroundColour = GetSysColor(COLOR_WINDOWTEXT);
        record->backgroundColour = GetSysColor(COLOR_BTNFACE);
        // Empty, so the first change is not merged with a corner at (0, 0).
        record->dirty = {-1, -1, 0, 0};
    }
    bool linked = false;
    {
        // Checked and linked under one hold, so a handle can never get two records.
        SpinLockHold hold(ObjectListLock());
        if (!FindUnlocked(handle)) {
            record->next = objectList;
            objectList = record;
            ++objectCount;
            linked = true;
        }
    }
    if (!linked) {
        FreeObjectRecord(record);
        return nullptr;
    }
    if (HasGraphicFields(kind)) record->backgroundBrush = SharedBackgroundBrush(record->backgroundColour);
    return record;
}

void UnlinkObjectRecord(ObjectRecord* record) {
    SpinLockHold hold(ObjectListLock());
    for (ObjectRecord** link = &objectList; *link; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            record->next = nullptr;
            --objectCount;
            return;
        }
    }
}

void FreeObjectRecord(ObjectRecord* record) { HeapFree(GetProcessHeap(), 0, record); }

bool IsBrushShared(HBRUSH brush, const ObjectRecord* except) {
    SpinLockHold hold(ObjectListLock());
    for (ObjectRecord* record = objectList; record; record = record->next) {
        if (record != except && (record->backgroundBrush == brush || record->colourBrush == brush)) return true;
    }
    return false;
}

ObjectRecord* FindChildRecord(ObjectHandle dialog) {
    SpinLockHold hold(ObjectListLock());
    for (ObjectRecord* record = objectList; record; record = record->next) {
        if ((record->flags & kFlagControl) && record->parent == dialog) return record;
    }
    return nullptr;
}

long ObjectCount() {
    SpinLockHold hold(ObjectListLock());
    return objectCount;
}
