// The accelerator table of a dialog, owned by its record.
#include "dialogs/dialog_accelerators.h"

#include "graphics/object_list.h"

void SetDialogAccelerators(HWND dialog, HACCEL table) {
    ObjectRecord* record = FindObjectRecord(HandleOf(dialog));
    if (!record) {
        if (table) DestroyAcceleratorTable(table);
        return;
    }
    if (record->acceleratorTable) DestroyAcceleratorTable(record->acceleratorTable);
    record->acceleratorTable = table;
}
