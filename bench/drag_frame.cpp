// One drag frame of the tool (restore the photograph into the graphic control, outline, one
// repaint) timed in process, against the same frame in plain GDI and a memcpy of one frame.
//   usage: drag_frame [moves]      (moves per variant, default 300)
// The pointer should rest over the screen; the outline runs from a moving anchor to it. Each
// frame is timed twice: the drawing alone ("draw"), and with the pending messages handled
// afterwards ("shown"), which is when Wine hands the window's pixels to the X server.
#include <cstring>

#include "bench/bench_support.h"
#include "graphics/copy_graphic.h"
#include "graphics/dirty_rectangle.h"
#include "graphics/gdi_guards.h"
#include "graphics/graphic_box.h"
#include "graphics/graphic_target.h"
#include "runtime/process_start.h"

namespace {

constexpr int kBlocks = 6;  // the variants take turns, so drift in the machine hits them alike

struct FrameTimes {
    std::vector<double> draw;
    std::vector<double> shown;
};

// The same frame as a small program would write it with GDI alone: its own back buffer and one
// red pen kept for the whole drag.
class PlainFrame {
public:
    PlainFrame(HWND window, HDC photo, DesktopSize desktop)
        : window_(window), photo_(photo), size_(desktop), back_(ScopedGetDC(window).get()),
          bitmap_(NewBackBitmap(window, desktop)), selectBitmap_(back_.get(), bitmap_.get()),
          pen_(CreatePen(PS_SOLID, 0, RGB(255, 0, 0))) {}

    void Draw(POINT anchor, POINT current) {
        BitBlt(back_.get(), 0, 0, size_.width, size_.height, photo_, 0, 0, SRCCOPY);
        {
            ScopedSelectObject pen(back_.get(), pen_.get());
            ScopedSelectObject brush(back_.get(), GetStockObject(NULL_BRUSH));
            Rectangle(back_.get(), std::min(anchor.x, current.x), std::min(anchor.y, current.y),
                      std::max(anchor.x, current.x), std::max(anchor.y, current.y));
        }
        ScopedGetDC screen(window_);
        BitBlt(screen.get(), 0, 0, size_.width, size_.height, back_.get(), 0, 0, SRCCOPY);
    }

private:
    static HBITMAP NewBackBitmap(HWND window, DesktopSize desktop) {
        ScopedGetDC windowDC(window);
        return CreateCompatibleBitmap(windowDC.get(), desktop.width, desktop.height);
    }

    HWND window_;
    HDC photo_;
    DesktopSize size_;
    ScopedMemoryDC back_;
    ScopedGdiObject<HBITMAP> bitmap_;
    ScopedSelectObject selectBitmap_;
    ScopedGdiObject<HPEN> pen_;
};

// Copies one frame's bytes: what any frame must at least move.
class MemcpyFrame {
public:
    explicit MemcpyFrame(DesktopSize desktop)
        : bytes_(static_cast<size_t>(desktop.width) * desktop.height * 4),
          from_(static_cast<char*>(VirtualAlloc(nullptr, bytes_, MEM_COMMIT, PAGE_READWRITE))),
          to_(static_cast<char*>(VirtualAlloc(nullptr, bytes_, MEM_COMMIT, PAGE_READWRITE))) {
        if (ok()) {
            std::memset(from_, 0x5A, bytes_);
            std::memset(to_, 0, bytes_);
        }
    }
    ~MemcpyFrame() {
        if (from_) VirtualFree(from_, 0, MEM_RELEASE);
        if (to_) VirtualFree(to_, 0, MEM_RELEASE);
    }
    MemcpyFrame(const MemcpyFrame&) = delete;
    MemcpyFrame& operator=(const MemcpyFrame&) = delete;
    bool ok() const { return from_ && to_; }
    void Draw() { std::memcpy(to_, from_, bytes_); }

private:
    size_t bytes_;
    char* from_;
    char* to_;
};

int moves = 300;

template <typename Frame>
void TimeBlock(Frame&& frame, int firstMove, int count, FrameTimes& times) {
    const DesktopSize desktop = GetDesktopSize();
    for (int move = firstMove; move < firstMove + count; ++move) {
        const POINT anchor = DragAnchor(desktop, move);
        const double start = NowMs();
        frame(anchor);
        const double drawn = NowMs();
        PumpPending();
        const double shown = NowMs();
        times.draw.push_back(drawn - start);
        times.shown.push_back(shown - start);
    }
}

// Where the tool's frame goes: its three drawing calls timed one by one.
struct PartTimes {
    std::vector<double> copy, box, redraw;
};

void TimeParts(int count, POINT pointer, PartTimes& parts) {
    const DesktopSize desktop = GetDesktopSize();
    for (int move = 0; move < count; ++move) {
        const POINT anchor = DragAnchor(desktop, move);
        const double start = NowMs();
        CopyGraphic(Tool().screenBitmap, 0, SRCCOPY);
        const double copied = NowMs();
        DrawGraphicBox(static_cast<float>(anchor.x), static_cast<float>(anchor.y), static_cast<float>(pointer.x),
                       static_cast<float>(pointer.y), 0, RGB(255, 0, 0), -2, 0);
        const double boxed = NowMs();
        RedrawGraphic();
        const double redrawn = NowMs();
        PumpPending();
        parts.copy.push_back(copied - start);
        parts.box.push_back(boxed - copied);
        parts.redraw.push_back(redrawn - boxed);
    }
}

// The photograph holds the picture the screen showed: r = x, g = y, b = x ^ y (each mod 256).
bool PhotographHasPattern(DesktopSize desktop) {
    const POINT probes[] = {{10, 20}, {300, 5}, {desktop.width - 1, desktop.height - 1}};
    for (POINT p : probes) {
        const COLORREF expected = RGB(p.x & 255, p.y & 255, (p.x ^ p.y) & 255);
        if (GetPixel(Tool().bitmapDC, p.x, p.y) != expected) return false;
    }
    return true;
}

void Measure() {
    const DesktopSize desktop = GetDesktopSize();
    const POINT pointer = RestingPointer();
    PlainFrame plain(GetDlgItem(Tool().dialog, kSelectionControlId), Tool().bitmapDC, desktop);
    MemcpyFrame copy(desktop);
    auto tool = [](POINT anchor) { ToolDragMove(anchor); };
    auto gdi = [&](POINT anchor) { plain.Draw(anchor, pointer); };
    auto bytes = [&](POINT) { copy.Draw(); };

    FrameTimes toolTimes, gdiTimes, memcpyTimes, warmUp;
    TimeBlock(tool, 0, 5, warmUp);
    TimeBlock(gdi, 0, 5, warmUp);
    const int perBlock = std::max(1, moves / kBlocks);
    for (int block = 0; block < kBlocks; ++block) {
        TimeBlock(tool, block * perBlock, perBlock, toolTimes);
        TimeBlock(gdi, block * perBlock, perBlock, gdiTimes);
        if (copy.ok()) TimeBlock(bytes, block * perBlock, perBlock, memcpyTimes);
    }
    PartTimes parts;
    TimeParts(perBlock, pointer, parts);
    const double toolDraw = Median(toolTimes.draw), gdiDraw = Median(gdiTimes.draw);
    const double toolShown = Median(toolTimes.shown), gdiShown = Median(gdiTimes.shown);
    const double memcpyMs = Median(memcpyTimes.draw);
    PrintResult("drag_frame width=%d height=%d moves=%d photo_ok=%d tool_draw_ms=%.3f gdi_draw_ms=%.3f "
                "tool_shown_ms=%.3f gdi_shown_ms=%.3f memcpy_ms=%.3f copy_ms=%.3f box_ms=%.3f redraw_ms=%.3f",
                desktop.width, desktop.height, perBlock * kBlocks, PhotographHasPattern(desktop) ? 1 : 0,
                toolDraw, gdiDraw, toolShown, gdiShown, memcpyMs, Median(parts.copy), Median(parts.box),
                Median(parts.redraw));
}

int BenchMain(HINSTANCE instance, HINSTANCE, const wchar_t* arguments, int showCommand) {
    moves = ArgumentNumber(arguments, moves);
    return RunToolWith(Measure, instance, arguments, showCommand);
}

}  // namespace

int main() { RunProcess(BenchMain, ClearToolState); }
