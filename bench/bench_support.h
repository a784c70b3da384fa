// Shared by the benchmark programs: clocks, medians, process figures, result lines, and the tool
// itself run with a measurement once its photograph is on the screen.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "dialogs/modal_loop.h"
#include "runtime/desktop_size.h"
#include "tool/selection_callback.h"
#include "tool/tool_main.h"
#include "tool/tool_state.h"

inline double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / ticksPerMs;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One line of figures for scripts/bench.sh: "RESULT <name> key=value ...". Flushed at once, since
// the runtime ends the process without running the C library's exit handlers.
inline void PrintResult(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::fputs("RESULT ", stdout);
    std::vfprintf(stdout, format, arguments);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    va_end(arguments);
}

// The first whole number in the argument text, or `fallback`.
inline int ArgumentNumber(const wchar_t* arguments, int fallback) {
    wchar_t* end = nullptr;
    const long value = arguments ? std::wcstol(arguments, &end, 10) : 0;
    return end != arguments && value > 0 ? static_cast<int>(value) : fallback;
}

// Live GDI objects of this process. Where the system does not keep the count (Wine answers 0)
// the handle table is walked instead: every live object answers GetObjectType by its index.
inline DWORD GdiObjectCount() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    DWORD live = 0;
    for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    }
    return live;
}

// Private bytes are read as the commit charge (PagefileUsage), which is the same figure and which
// Wine fills in too.
struct MemoryFigures {
    double privateMb;
    double workingSetMb;
    double peakWorkingSetMb;
};

inline MemoryFigures ProcessMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    constexpr double kMb = 1024.0 * 1024.0;
    return {counters.PagefileUsage / kMb, counters.WorkingSetSize / kMb, counters.PeakWorkingSetSize / kMb};
}

// Handles what is waiting, as the modal loop does after every message; under Wine this is also
// where the window's pixels go out to the X server.
inline void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs the tool itself and calls `measure` once its full-screen photograph is on the screen;
// the selection then ends without a release, so nothing is exported.
inline void (*pendingMeasure)() = nullptr;

inline void CALLBACK MeasureOnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PumpPending();
    pendingMeasure();
    DialogEnd(Tool().dialog, 0);
}

inline int RunToolWith(void (*measure)(), HINSTANCE instance, const wchar_t* arguments, int showCommand) {
    pendingMeasure = measure;
    SetTimer(nullptr, 0, 300, MeasureOnTimer);
    return ToolMain(instance, nullptr, arguments, showCommand);
}

// One mouse move while dragging, handled by the tool's own callback: the outline runs from
// `anchor` to wherever the pointer rests.
inline void ToolDragMove(POINT anchor) {
    ToolState& tool = Tool();
    tool.dragging = 1;
    tool.anchor = anchor;
    SelectionCallback(tool.dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(tool.dialog),
                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// The pointer in client coordinates of the tool's dialog, as the tool reads it.
inline POINT RestingPointer() {
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(Tool().dialog, &pointer);
    return pointer;
}

// Anchor points of a scripted drag: they sweep over the screen and back, so the outline changes
// size on every move.
inline POINT DragAnchor(DesktopSize desktop, int move) {
    const int step = move % 200;
    const int phase = step < 100 ? step : 200 - step;
    return {desktop.width / 16 + (desktop.width / 2) * phase / 100,
            desktop.height / 16 + (desktop.height / 2) * phase / 100};
}
