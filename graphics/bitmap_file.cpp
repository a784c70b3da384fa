// The current graphic target as an uncompressed 24-bit bottom-up Windows bitmap file.
#include "graphics/bitmap_file.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "graphics/dib_header.h"
#include "graphics/gdi_guards.h"
#include "graphics/graphic_target.h"
#include "runtime/file_replace.h"

namespace {

static_assert(sizeof(BITMAPFILEHEADER) == 14 && sizeof(BITMAPINFOHEADER) == 40);

// Pops the file name, up to its first zero.
std::wstring PopFileName(TextStack& stack) {
    const TextValue top = stack.At(0);
    const wchar_t* chars = WideChars(top);
    std::wstring name;
    if (chars) name.assign(chars, wcsnlen(chars, WideLength(top)));
    stack.Drop();
    return name;
}

// Bytes per row of a 24-bit DIB: three per pixel, rounded up to a multiple of four.
std::uint64_t RowStride24(LONG width) { return (static_cast<std::uint64_t>(width) * 24 + 31) / 32 * 4; }

// Converts the bitmap selected into `targetDC` to 24 bits with one BitBlt into a DIB section and
// writes that section's memory as the pixel block of the file.
bool WriteTargetBitmap(HDC targetDC, const wchar_t* path) {
    const auto source = static_cast<HBITMAP>(GetCurrentObject(targetDC, OBJ_BITMAP));
    BITMAP bitmap{};
    if (!source || !GetObjectW(source, sizeof bitmap, &bitmap)) return false;
    const LONG width = bitmap.bmWidth;
    const LONG height = bitmap.bmHeight;
    const std::uint64_t pixelBytes = RowStride24(width) * static_cast<std::uint64_t>(height);
    if (width <= 0 || height <= 0 || pixelBytes > MAXDWORD - sizeof(BITMAPFILEHEADER) - sizeof(BITMAPINFOHEADER)) {
        return false;
    }

    ScopedMemoryDC dc(targetDC);
    if (!dc.get()) return false;
    BITMAPINFO info{};
    info.bmiHeader = DibHeader(width, height, 24);
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> section(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section.get() || !bits) return false;
    ScopedSelectObject selected(dc.get(), section.get());
    if (!selected.ok() || !BitBlt(dc.get(), 0, 0, width, height, targetDC, 0, 0, SRCCOPY)) return false;
    GdiFlush();  // the section's memory is read directly below

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixelBytes);
    return ReplaceFileContents(path, {{&file, sizeof file},
                                      {&info.bmiHeader, sizeof info.bmiHeader},
                                      {bits, static_cast<DWORD>(pixelBytes)}});
}

}  // namespace

std::int32_t SaveGraphicBitmap(TextStack& stack) {
    const std::wstring name = PopFileName(stack);
    if (name.empty()) return 0;
    const CurrentTargetLock lock;
    if (!lock) return 0;
    return WriteTargetBitmap(lock.get()->memoryDC, name.c_str()) ? -1 : 0;
}
