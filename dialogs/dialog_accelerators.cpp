// The accelerator table of a dialog, owned by its record.
#include "dialogs/dialog_accelerators.h"

#include "dialogs/dialog_record.h"

void SetDialogAccelerators(HWND dialog, HACCEL table) {
    DialogRecord* record = FindDialogRecord(dialog);
    if (!record) {
        if (table) DestroyAcceleratorTable(table);
        return;
    }
    if (record->acceleratorTable) DestroyAcceleratorTable(record->acceleratorTable);
    record->acceleratorTable = table;
}
