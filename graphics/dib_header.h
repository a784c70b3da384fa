// The information header of an uncompressed device-independent bitmap.
#pragma once
#include <windows.h>

// Rows bottom-up for a positive height, top-down for a negative one; every other field zero.
inline BITMAPINFOHEADER DibHeader(LONG width, LONG height, WORD bitCount) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    return header;
}
