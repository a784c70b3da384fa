// The runtime's font table.
#include "runtime/font_table.h"

#include <cwchar>

namespace {

FontRecord* fontTable = nullptr;

struct InitialFont {
    int number;
    const wchar_t* face;
    float pointSize;
    BYTE pitchAndFamily;
};

constexpr InitialFont kInitialFonts[] = {
    {kDefaultFontNumber, L"MS Sans Serif", float{kDialogFontPointSize}, 0},
    {2, L"Lucida Console", 0.0f, FIXED_PITCH},
    {3, L"Lucida Console", 11.0f, FIXED_PITCH},
};

}  // namespace

void CreateInitialFontTable() {
    if (fontTable) return;
    FontRecord** tail = &fontTable;
    for (const InitialFont& initial : kInitialFonts) {
        auto* font = static_cast<FontRecord*>(GlobalAlloc(GPTR, sizeof(FontRecord)));
        if (!font) return;
        font->number = initial.number;
        font->useCount = 1;
        font->pointSize = initial.pointSize;
        font->logFont.lfWeight = FW_NORMAL;
        font->logFont.lfCharSet = ANSI_CHARSET;
        font->logFont.lfPitchAndFamily = initial.pitchAndFamily;
        wcsncpy(font->logFont.lfFaceName, initial.face, LF_FACESIZE - 1);
        *tail = font;
        tail = &font->next;
    }
}

FontRecord* FindFont(int number) {
    for (FontRecord* font = fontTable; font; font = font->next) {
        if (font->number == number) return font;
    }
    return nullptr;
}

HFONT GetFontHandle(FontRecord& font, HDC dc) {
    if (!font.handle) {
        LOGFONTW logFont = font.logFont;
        logFont.lfHeight = -(GetDeviceCaps(dc, LOGPIXELSY) * static_cast<int>(font.pointSize) / 72);
        font.handle = CreateFontIndirectW(&logFont);
    }
    return font.handle;
}
