// Rows of a graphic target's bitmap read out as a device-independent bitmap.
#include "graphics/dib_rows.h"

bool DibRowReader::Read(LONG first, LONG rows, void* pixels) const {
    // GetDIBits rewrites fields of the header it is given (the image size): it gets a copy.
    BITMAPINFO info{};
    info.bmiHeader = header_;
    return GetDIBits(dc_, bitmap_, static_cast<UINT>(first), static_cast<UINT>(rows), pixels, &info,
                     DIB_RGB_COLORS) == rows;
}
