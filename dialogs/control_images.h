// Image controls: static controls and buttons that show a bitmap or icon resource.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/dialog_record.h"

bool IsImageClass(std::int32_t classIndex);
// True when the executable has a bitmap resource called `name`; otherwise it is taken as an icon.
bool HasBitmapResource(const wchar_t* name);
// The style of image class `classIndex` when it shows an icon instead of a bitmap.
std::uint32_t IconImageStyle(std::int32_t classIndex, std::uint32_t style);
// Loads the resource `name` as the record's image kind (its own size, or the control's size
// for the sized classes), gives it to the control and keeps it in the record, with the copy
// the control made of it, if any. The image the control held before is released.
void SetUpImageControl(DialogRecord& record, std::int32_t classIndex, const wchar_t* name, SIZE controlSize);
// Releases an image of a record: an icon when `flags` says so, else a bitmap.
void ReleaseImage(HANDLE image, std::uint32_t flags);
