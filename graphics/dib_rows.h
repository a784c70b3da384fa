// Rows of a graphic target's bitmap read out as a device-independent bitmap.
#pragma once
#include <windows.h>

#include "graphics/gdi_guards.h"
#include "graphics/object_list.h"

// Reads `bitmap`, the bitmap selected into the record's memory DC, as DIB rows in `header`'s
// format. GetDIBits must not read a bitmap that is selected into a DC: while the reader lives the
// DC's first bitmap stands in for it, and it is selected back afterwards.
class DibRowReader {
public:
    DibRowReader(const ObjectRecord& record, HBITMAP bitmap, const BITMAPINFOHEADER& header)
        : dc_(record.memoryDC), bitmap_(bitmap), header_(header), selectedOut_(dc_, record.previousBitmap) {}
    bool ok() const { return selectedOut_.ok(); }
    // Reads `rows` rows from row `first`, counted as the header counts them, into `pixels`; false
    // unless all of them were read.
    bool Read(LONG first, LONG rows, void* pixels) const;

private:
    HDC dc_;
    HBITMAP bitmap_;
    BITMAPINFOHEADER header_;
    ScopedSelectObject selectedOut_;
};
