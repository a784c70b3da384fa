// The runtime's font table: numbered font records whose handles are made on first use.
#pragma once
#include <windows.h>

struct FontRecord {
    FontRecord* next;
    int number;
    LONG useCount;
    HFONT handle;       // 0 until first used
    float pointSize;
    LOGFONTW logFont;
};

// The number of the font that new dialogs and graphic targets take, and its size.
constexpr int kDefaultFontNumber = 1;
constexpr int kDialogFontPointSize = 8;

// Makes the three records of a new process: 1 "MS Sans Serif" 8 pt, 2 and 3 "Lucida Console".
void CreateInitialFontTable();
FontRecord* FindFont(int number);
// The record's font handle, created for `dc` on first use (height from LOGPIXELSY); 0 on failure.
HFONT GetFontHandle(FontRecord& font, HDC dc);
