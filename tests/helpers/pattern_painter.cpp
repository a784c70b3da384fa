// Covers the screen (or the rectangle given as x y width height) with a picture computed from
// the coordinates, so that any pixel of a photograph of it can be checked exactly:
//   red = x & 255, green = y & 255, blue = 0x40 | ((x >> 8) & 7) << 3 | ((y >> 8) & 7).
// Every pixel of a screen up to 2048 x 2048 differs from every other, and none is pure red.
// Prints "ready" once the picture has been painted, and closes when its standard input ends.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "graphics/dib_header.h"
#include "graphics/gdi_guards.h"

namespace {

struct Picture {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
};

Picture picture;
bool announced = false;

std::uint32_t PatternPixel(int x, int y) {
    std::uint32_t red = x & 255;
    std::uint32_t green = y & 255;
    std::uint32_t blue = 0x40 | ((x >> 8) & 7) << 3 | ((y >> 8) & 7);
    return red << 16 | green << 8 | blue;
}

// Screen coordinates, not window ones, so a partial window shows the screen's pattern too.
HBITMAP DrawPattern(int left, int top, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = DibHeader(width, -height, 32);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = PatternPixel(left + x, top + y);
    return bitmap;
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    ScopedMemoryDC memory(dc);
    ScopedSelectObject select(memory.get(), picture.bitmap);
    BitBlt(dc, 0, 0, picture.width, picture.height, memory.get(), 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    if (!announced) {
        GdiFlush();
        std::printf("ready\n");
        std::fflush(stdout);
        announced = true;
    }
}

LRESULT CALLBACK PainterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The test ends the painter by closing its standard input.
DWORD WINAPI WatchInput(void* window) {
    char buffer[64];
    DWORD read = 0;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (ReadFile(input, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    }
    PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // On a scaled desktop the screen and the tool's windows are measured in physical pixels.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    int left = 0;
    int top = 0;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (argc == 5) {
        left = std::atoi(argv[1]);
        top = std::atoi(argv[2]);
        width = std::atoi(argv[3]);
        height = std::atoi(argv[4]);
    }
    picture = {DrawPattern(left, top, width, height), width, height};
    if (!picture.bitmap) return 1;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PainterProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"PatternPainter";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"pattern", WS_POPUP | WS_VISIBLE,
                                  left, top, width, height, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!window) return 1;
    HANDLE watcher = CreateThread(nullptr, 0, WatchInput, window, 0, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (watcher) CloseHandle(watcher);
    DeleteObject(picture.bitmap);
    return 0;
}
