// The current graphic target as an uncompressed 24-bit bottom-up Windows bitmap file.
#include "graphics/bitmap_file.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "graphics/dib_header.h"
#include "graphics/dib_rows.h"
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

// The rows go to the file a band at a time, through a buffer about this size: the picture is
// never held whole a second time, and the buffer stays in the cache. Fresh memory costs a page
// fault on its first touch, which for a whole-screen picture took longer than writing it.
constexpr std::uint64_t kBandBytes = 256 * 1024;

// A target's bitmap as the file: headers, then 24-bit bottom-up rows converted by GetDIBits.
class BitmapFileContent : public FileContent {
public:
    BitmapFileContent(const ObjectRecord& target, HBITMAP bitmap, LONG width, LONG height)
        : target_(target), bitmap_(bitmap), width_(width), height_(height) {}

    bool WriteTo(FileSink& sink) const override {
        const BITMAPINFOHEADER header = DibHeader(width_, height_, 24);
        const std::uint64_t stride = RowStride24(width_);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * static_cast<std::uint64_t>(height_));
        if (!sink.Append(&file, sizeof file) || !sink.Append(&header, sizeof header)) return false;

        const auto bandRows = static_cast<LONG>(std::max<std::uint64_t>(1, kBandBytes / stride));
        std::vector<BYTE> band(static_cast<std::size_t>(stride) * static_cast<std::size_t>(bandRows));
        const DibRowReader rows(target_, bitmap_, header);
        if (!rows.ok()) return false;
        for (LONG first = 0; first < height_; first += bandRows) {
            const LONG count = std::min(bandRows, height_ - first);
            if (!rows.Read(first, count, band.data()) ||
                !sink.Append(band.data(), static_cast<DWORD>(stride * static_cast<std::uint64_t>(count)))) {
                return false;
            }
        }
        return true;
    }

private:
    const ObjectRecord& target_;
    HBITMAP bitmap_;
    LONG width_;
    LONG height_;
};

// Writes the bitmap selected into the target's memory DC as the file at `path`.
bool WriteTargetBitmap(const ObjectRecord& target, const wchar_t* path) {
    const auto bitmap = static_cast<HBITMAP>(GetCurrentObject(target.memoryDC, OBJ_BITMAP));
    BITMAP size{};
    if (!bitmap || !GetObjectW(bitmap, sizeof size, &size)) return false;
    const std::uint64_t pixelBytes = RowStride24(size.bmWidth) * static_cast<std::uint64_t>(size.bmHeight);
    if (size.bmWidth <= 0 || size.bmHeight <= 0 ||
        pixelBytes > MAXDWORD - sizeof(BITMAPFILEHEADER) - sizeof(BITMAPINFOHEADER)) {
        return false;
    }
    return ReplaceFileContents(path, BitmapFileContent(target, bitmap, size.bmWidth, size.bmHeight));
}

}  // namespace

std::int32_t SaveGraphicBitmap(TextStack& stack) {
    const std::wstring name = PopFileName(stack);
    if (name.empty()) return 0;
    const CurrentTargetLock lock;
    if (!lock) return 0;
    return WriteTargetBitmap(*lock.get(), name.c_str()) ? -1 : 0;
}
