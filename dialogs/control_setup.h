// The set-up each control class needs once its window and record exist.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_record.h"

struct NewControl {
    HWND dialog;
    HWND window;
    DialogRecord* record;  // null when the record could not be made
    std::int32_t classIndex;
    std::int32_t id;
    std::uint32_t style;   // as created
    SIZE size;             // in pixels
    const wchar_t* caption;
    bool treeCheckBoxes;   // a tree view asked for check boxes, left out at creation
};

// Default button, images, graphic control, common-control formats, scroll range, tree view
// check boxes. Set-ups that keep data in the record are skipped without one.
void SetUpControl(const NewControl& control);
