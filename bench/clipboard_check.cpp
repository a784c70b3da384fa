// Reads the CF_DIB block on the clipboard and checks it against the benchmark's screen picture
// (r = x, g = y, b = x ^ y, each mod 256): a 40-byte header, 32 bits, bottom-up rows.
#include <cstdint>

#include "bench/bench_support.h"

namespace {

bool PixelsMatch(const BITMAPINFOHEADER& header, const std::uint8_t* pixels) {
    const LONG width = header.biWidth, height = header.biHeight;
    const POINT probes[] = {{0, 0}, {10, 20}, {width / 2, height / 3}, {width - 1, height - 1}};
    for (POINT p : probes) {
        const std::uint8_t* pixel = pixels + (static_cast<size_t>(height - 1 - p.y) * width + p.x) * 4;
        if (pixel[2] != (p.x & 255) || pixel[1] != (p.y & 255) || pixel[0] != ((p.x ^ p.y) & 255)) return false;
    }
    return true;
}

}  // namespace

int main() {
    int ok = 0;
    LONG width = 0, height = 0;
    if (OpenClipboard(nullptr)) {
        if (HGLOBAL block = GetClipboardData(CF_DIB)) {
            const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
            if (header) {
                width = header->biWidth;
                height = header->biHeight;
                const SIZE_T needed = header->biSize + static_cast<SIZE_T>(width) * height * 4;
                ok = header->biSize == 40 && header->biBitCount == 32 && header->biCompression == BI_RGB &&
                     width > 0 && height > 0 && GlobalSize(block) >= needed &&
                     PixelsMatch(*header, reinterpret_cast<const std::uint8_t*>(header) + header->biSize);
                GlobalUnlock(block);
            }
        }
        CloseClipboard();
    }
    PrintResult("clipboard_check ok=%d width=%ld height=%ld", ok, width, height);
    return ok ? 0 : 1;
}
