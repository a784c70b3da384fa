// Waits (up to the milliseconds given as its argument) for a visible message box of any process
// and prints what a person sees in it, one "key=value" line each; texts as hex of their UTF-16:
//   title=<hex>  text=<hex>  icon=<information|warning|error|question|none|unknown>
//   button=<hex of its text>,<x>,<y>   (the button's centre in screen coordinates)
// The icon is recognised by comparing the screen's pixels with the system's icons drawn here.
// Exit code 0 when a box was found, 1 when none appeared in time.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/dib_header.h"
#include "graphics/gdi_guards.h"

namespace {

struct Pixels {
    std::vector<std::uint32_t> data;
    int width = 0;
    int height = 0;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::string Hex(const std::wstring& text) {
    std::string hex;
    char byte[3];
    for (wchar_t c : text) {
        std::snprintf(byte, sizeof(byte), "%02x", c & 0xFF);
        hex += byte;
        std::snprintf(byte, sizeof(byte), "%02x", (c >> 8) & 0xFF);
        hex += byte;
    }
    return hex;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsIconStatic(HWND child) {
    return ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// A message box is a dialog with push buttons; the tool's own full-screen dialog has none.
BOOL CALLBACK CheckForMessageBox(HWND window, LPARAM result) {
    if (!IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
    for (HWND child : ChildrenOf(window)) {
        if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        }
    }
    return TRUE;
}

HWND FindMessageBox() {
    HWND found = nullptr;
    EnumWindows(CheckForMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

BITMAPINFO InfoFor(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = DibHeader(width, -height, 32);
    return info;
}

// Runs `draw` on a 32-bit memory surface of the given size and returns its pixels.
template <typename Draw>
Pixels Render(int width, int height, Draw draw) {
    Pixels pixels{std::vector<std::uint32_t>(width * height), width, height};
    BITMAPINFO info = InfoFor(width, height);
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface.get()) return pixels;
    ScopedMemoryDC dc(nullptr);
    ScopedSelectObject select(dc.get(), surface.get());
    draw(dc.get());
    GdiFlush();
    auto* source = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) pixels.data[i] = source[i] & 0xFFFFFF;
    return pixels;
}

Pixels ReadScreen(const RECT& area) {
    return Render(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        ScopedGetDC screen(nullptr);
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen.get(), area.left,
               area.top, SRCCOPY);
    });
}

Pixels DrawSystemIcon(const wchar_t* id, int width, int height, std::uint32_t background) {
    return Render(width, height, [&](HDC dc) {
        RECT all{0, 0, width, height};
        COLORREF colour = RGB(background >> 16 & 255, background >> 8 & 255, background & 255);
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc, &all, brush.get());
        DrawIconEx(dc, 0, 0, LoadIconW(nullptr, id), width, height, 0, nullptr, DI_NORMAL);
    });
}

std::size_t CountDifferences(const Pixels& a, const Pixels& b) {
    std::size_t differences = 0;
    for (std::size_t i = 0; i < a.data.size(); ++i) differences += a.data[i] != b.data[i];
    return differences;
}

// The icon's corners are transparent, so the first pixel shows the background it is drawn on.
std::string RecogniseIcon(HWND box, DWORD deadline) {
    HWND iconStatic = nullptr;
    for (HWND child : ChildrenOf(box))
        if (IsIconStatic(child) && IsWindowVisible(child)) iconStatic = child;
    if (!iconStatic || !SendMessageW(iconStatic, STM_GETICON, 0, 0)) return "none";

    struct Candidate {
        const char* name;
        const wchar_t* id;
    };
    const Candidate candidates[] = {{"information", IDI_INFORMATION},
                                    {"warning", IDI_WARNING},
                                    {"error", IDI_ERROR},
                                    {"question", IDI_QUESTION}};
    do {
        RECT area;
        GetWindowRect(iconStatic, &area);
        Pixels seen = ReadScreen(area);
        if (!seen.data.empty()) {
            for (const Candidate& candidate : candidates) {
                Pixels drawn = DrawSystemIcon(candidate.id, seen.width, seen.height, seen.data[0]);
                // Slack of 2% for edge pixels blended differently; other icons differ far more.
                if (CountDifferences(seen, drawn) * 50 < seen.data.size()) return candidate.name;
            }
        }
        Sleep(20);
    } while (GetTickCount() < deadline);
    return "unknown";
}

void PrintBox(HWND box, DWORD deadline) {
    std::printf("title=%s\n", Hex(TextOf(box)).c_str());
    std::wstring text;
    for (HWND child : ChildrenOf(box))
        if (ClassOf(child) == L"Static" && !IsIconStatic(child)) text += TextOf(child);
    std::printf("text=%s\n", Hex(text).c_str());
    std::printf("icon=%s\n", RecogniseIcon(box, deadline).c_str());
    for (HWND child : ChildrenOf(box)) {
        if (ClassOf(child) != L"Button" || !IsWindowVisible(child)) continue;
        RECT area;
        GetWindowRect(child, &area);
        std::printf("button=%s,%ld,%ld\n", Hex(TextOf(child)).c_str(), (area.left + area.right) / 2,
                    (area.top + area.bottom) / 2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // On a scaled desktop the screen and the tool's windows are measured in physical pixels.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    DWORD deadline = GetTickCount() + (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0);
    for (;;) {
        if (HWND box = FindMessageBox()) {
            PrintBox(box, deadline);
            return 0;
        }
        if (GetTickCount() >= deadline) return 1;
        Sleep(10);
    }
}
