// Reads the clipboard's bitmaps from a process of its own and writes each to a file.
//   usage: clipboard_dump <output directory>
// Writes dib.bin (the CF_DIB block as it is), dibv5.bin (the CF_DIBV5 block as it is) and
// bitmap.bin (CF_BITMAP read back as a packed DIB: 40-byte header, 32 bits, bottom-up), each
// only when the clipboard offers that format. Exit code 0, or 2 on any failure.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

bool WriteWholeFile(const std::wstring& path, const void* data, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool DumpBlock(UINT format, const std::wstring& path) {
    if (!IsClipboardFormatAvailable(format)) return true;
    HGLOBAL block = GetClipboardData(format);
    if (!block) return false;
    const void* data = GlobalLock(block);
    if (!data) return false;
    const bool ok = WriteWholeFile(path, data, static_cast<DWORD>(GlobalSize(block)));
    GlobalUnlock(block);
    return ok;
}

bool DumpBitmap(const std::wstring& path) {
    if (!IsClipboardFormatAvailable(CF_BITMAP)) return true;
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP record{};
    if (!bitmap || !GetObjectW(bitmap, sizeof record, &record)) return false;
    std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(record.bmWidth) * record.bmHeight * 4);
    auto* info = reinterpret_cast<BITMAPINFO*>(dib.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = record.bmWidth;
    info->bmiHeader.biHeight = record.bmHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, record.bmHeight, dib.data() + sizeof(BITMAPINFOHEADER), info,
                                DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return lines == record.bmHeight && WriteWholeFile(path, dib.data(), static_cast<DWORD>(dib.size()));
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    if (argc != 2) return 2;
    const std::wstring directory = std::wstring(argv[1]) + L"\\";
    HWND window = CreateWindowExW(0, L"STATIC", L"clipboard_dump", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    if (!window || !OpenClipboard(window)) return 2;
    const bool ok = DumpBlock(CF_DIB, directory + L"dib.bin") && DumpBlock(CF_DIBV5, directory + L"dibv5.bin") &&
                    DumpBitmap(directory + L"bitmap.bin");
    CloseClipboard();
    DestroyWindow(window);
    return ok ? 0 : 2;
}
