// One drag frame of the tool (restore the photograph into the graphic control, outline, one
// repaint) timed in process, against the same frame in plain GDI and a memcpy of one frame, and
// then taken apart step by step.
//   usage: drag_frame [moves]      (moves per variant, default 300)
// The pointer should rest over the screen; the outline runs from a moving anchor to it. Each
// frame is timed twice: the drawing alone ("draw"), and with the pending messages handled
// afterwards ("shown"), which is when Wine hands the window's pixels to the X server. Before each
// of the tool's frames, untimed, the pointer is put back where it is: with the pointer at rest
// for over a tenth of a second Wine asks the X server where it is on every GetCursorPos, where in
// a real drag the pointer has just moved and Wine answers from its own record.
#include <cstring>

#include "bench/bench_support.h"
#include "dialogs/dialog_record.h"
#include "graphics/copy_graphic.h"
#include "graphics/dirty_rectangle.h"
#include "graphics/gdi_guards.h"
#include "graphics/graphic_box.h"
#include "graphics/graphic_control.h"
#include "graphics/graphic_target.h"
#include "runtime/mouse_pointer.h"
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
        Restore();
        Outline(anchor, current);
        Show();
    }
    void Restore() { BitBlt(back_.get(), 0, 0, size_.width, size_.height, photo_, 0, 0, SRCCOPY); }
    void Outline(POINT anchor, POINT current) {
        ScopedSelectObject pen(back_.get(), pen_.get());
        ScopedSelectObject brush(back_.get(), GetStockObject(NULL_BRUSH));
        Rectangle(back_.get(), std::min(anchor.x, current.x), std::min(anchor.y, current.y),
                  std::max(anchor.x, current.x), std::max(anchor.y, current.y));
    }
    void Show() {
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

// Puts the pointer back where it is, as a drag's move would, and handles the move it queues with
// the drag paused: in a drag the tool reads a pointer that has just moved, which Wine answers from
// its own record, where a pointer at rest sends it to ask the X server.
void TouchPointer() {
    POINT pointer{};
    GetCursorPos(&pointer);
    SetCursorPos(pointer.x, pointer.y);
    Tool().dragging = 0;
    PumpPending();
}

// Times `frame` for each move; `prepare`, untimed, comes before each.
template <typename Frame, typename Prepare>
void TimeBlock(Frame&& frame, Prepare&& prepare, int firstMove, int count, FrameTimes& times) {
    const DesktopSize desktop = GetDesktopSize();
    for (int move = firstMove; move < firstMove + count; ++move) {
        const POINT anchor = DragAnchor(desktop, move);
        prepare();
        const double start = NowMs();
        frame(anchor);
        const double drawn = NowMs();
        PumpPending();
        const double shown = NowMs();
        times.draw.push_back(drawn - start);
        times.shown.push_back(shown - start);
    }
}

// Where a frame goes, step by step; a median in ms for each step.
struct StepTimes {
    std::vector<double> cursor, copy, box, redraw, toPaint, toDrawItem, paintBlit, afterPaint, pointer, handOff;
    std::vector<double> lookup, lock, copyBlit;
    std::vector<double> gdiRestore, gdiOutline, gdiShow, gdiHandOff;
};

// Sees the repaint from inside: when the control's WM_PAINT starts and ends (a subclass over the
// engine's procedure), and the dialog's WM_DRAWITEM, answered through the callback by painting as
// the engine's default handling does, with the blit to the window timed.
class PaintClock {
public:
    PaintClock() : control_(GetDlgItem(Tool().dialog, kSelectionControlId)), dialog_(FindDialogRecord(Tool().dialog)) {
        clock_ = this;
        controlProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedControlProc)));
        callback_ = dialog_->callback;
        dialog_->callback = TimedCallback;
    }
    ~PaintClock() {
        dialog_->callback = callback_;
        SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
        clock_ = nullptr;
    }
    PaintClock(const PaintClock&) = delete;
    PaintClock& operator=(const PaintClock&) = delete;

    double paintStart = 0, drawItemStart = 0, drawItemEnd = 0;

private:
    static LRESULT CALLBACK TimedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) clock_->paintStart = NowMs();
        return CallWindowProcW(clock_->controlProc_, window, message, wParam, lParam);
    }
    static std::int32_t TimedCallback(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != WM_DRAWITEM) return clock_->callback_(dialog, message, wParam, lParam);
        clock_->drawItemStart = NowMs();
        const BOOL painted = PaintGraphicControl(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        clock_->drawItemEnd = NowMs();
        return painted;
    }

    static inline PaintClock* clock_ = nullptr;
    HWND control_;
    DialogRecord* dialog_;
    WNDPROC controlProc_;
    DialogCallback callback_;
};

// Times consecutive steps: each lap adds the time since the previous one to a list.
class Laps {
public:
    Laps() : last_(NowMs()) {}
    // The moment the lap ended.
    double Lap(std::vector<double>& times) {
        const double now = NowMs();
        times.push_back(now - last_);
        last_ = now;
        return now;
    }

private:
    double last_;
};

// The tool's calls for one move, in its order, one by one.
void TimeToolSteps(int firstMove, int count, StepTimes& steps) {
    const DesktopSize desktop = GetDesktopSize();
    ToolState& tool = Tool();
    PaintClock clock;
    for (int move = firstMove; move < firstMove + count; ++move) {
        const POINT anchor = DragAnchor(desktop, move);
        TouchPointer();
        Laps laps;
        GetCursorPos(&tool.current);
        ScreenToClient(tool.dialog, &tool.current);
        laps.Lap(steps.cursor);
        CopyGraphic(tool.screenBitmap, 0, SRCCOPY);
        laps.Lap(steps.copy);
        DrawGraphicBox(static_cast<float>(anchor.x), static_cast<float>(anchor.y), static_cast<float>(tool.current.x),
                       static_cast<float>(tool.current.y), 0, kOutlineColour, kNoFill, 0);
        const double boxed = laps.Lap(steps.box);
        RedrawGraphic();
        const double redrawn = laps.Lap(steps.redraw);
        SetMousePointer(kCrosshairPointer);
        laps.Lap(steps.pointer);
        PumpPending();
        laps.Lap(steps.handOff);
        steps.toPaint.push_back(clock.paintStart - boxed);
        steps.toDrawItem.push_back(clock.drawItemStart - clock.paintStart);
        steps.paintBlit.push_back(clock.drawItemEnd - clock.drawItemStart);
        steps.afterPaint.push_back(redrawn - clock.drawItemEnd);
    }
}

// Inside CopyGraphic: the same calls on the same records, one by one.
void TimeCopySteps(int count, StepTimes& steps) {
    const ObjectHandle photo = Tool().screenBitmap;
    for (int move = 0; move < count; ++move) {
        Laps laps;
        const ObjectRecord* source = ResolveGraphicTarget(photo, 0);
        laps.Lap(steps.lookup);
        HDC target = nullptr;
        {
            CurrentTargetLock lock;
            target = lock ? lock.get()->memoryDC : nullptr;
        }
        laps.Lap(steps.lock);
        BitBlt(target, 0, 0, source->canvasSize.cx, source->canvasSize.cy, source->memoryDC, 0, 0, SRCCOPY);
        laps.Lap(steps.copyBlit);
    }
}

void TimePlainSteps(PlainFrame& plain, int firstMove, int count, POINT pointer, StepTimes& steps) {
    const DesktopSize desktop = GetDesktopSize();
    for (int move = firstMove; move < firstMove + count; ++move) {
        Laps laps;
        plain.Restore();
        laps.Lap(steps.gdiRestore);
        plain.Outline(DragAnchor(desktop, move), pointer);
        laps.Lap(steps.gdiOutline);
        plain.Show();
        laps.Lap(steps.gdiShow);
        PumpPending();
        laps.Lap(steps.gdiHandOff);
    }
}

struct FrameFigures {
    DesktopSize desktop;
    int moves;
    bool photoOk;
    double toolDraw, gdiDraw, toolShown, gdiShown, memcpy;
};

void PrintFigures(const FrameFigures& f, const StepTimes& s) {
    PrintResult("drag_frame width=%d height=%d moves=%d photo_ok=%d tool_draw_ms=%.3f gdi_draw_ms=%.3f "
                "tool_shown_ms=%.3f gdi_shown_ms=%.3f memcpy_ms=%.3f cursor_ms=%.3f copy_ms=%.3f "
                "copy_lookup_ms=%.4f copy_lock_ms=%.4f copy_blit_ms=%.3f box_ms=%.3f redraw_ms=%.3f "
                "redraw_to_paint_ms=%.3f paint_to_drawitem_ms=%.3f paint_blit_ms=%.3f after_paint_ms=%.3f "
                "pointer_ms=%.3f hand_off_ms=%.3f gdi_restore_ms=%.3f gdi_outline_ms=%.3f gdi_show_ms=%.3f "
                "gdi_hand_off_ms=%.3f",
                f.desktop.width, f.desktop.height, f.moves, f.photoOk ? 1 : 0, f.toolDraw, f.gdiDraw, f.toolShown,
                f.gdiShown, f.memcpy, Median(s.cursor), Median(s.copy), Median(s.lookup), Median(s.lock),
                Median(s.copyBlit), Median(s.box), Median(s.redraw), Median(s.toPaint), Median(s.toDrawItem),
                Median(s.paintBlit), Median(s.afterPaint), Median(s.pointer), Median(s.handOff),
                Median(s.gdiRestore), Median(s.gdiOutline), Median(s.gdiShow), Median(s.gdiHandOff));
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
    auto nothing = [] {};

    FrameTimes toolTimes, gdiTimes, memcpyTimes, warmUp;
    StepTimes steps;
    TimeBlock(tool, TouchPointer, 0, 5, warmUp);
    TimeBlock(gdi, nothing, 0, 5, warmUp);
    const int perBlock = std::max(1, moves / kBlocks);
    for (int block = 0; block < kBlocks; ++block) {
        const int first = block * perBlock;
        TimeBlock(tool, TouchPointer, first, perBlock, toolTimes);
        TimeBlock(gdi, nothing, first, perBlock, gdiTimes);
        if (copy.ok()) TimeBlock(bytes, nothing, first, perBlock, memcpyTimes);
        TimeToolSteps(first, perBlock, steps);
        TimeCopySteps(perBlock, steps);
        TimePlainSteps(plain, first, perBlock, pointer, steps);
    }
    PrintFigures({desktop, perBlock * kBlocks, PhotographHasPattern(desktop), Median(toolTimes.draw),
                  Median(gdiTimes.draw), Median(toolTimes.shown), Median(gdiTimes.shown), Median(memcpyTimes.draw)},
                 steps);
}

int BenchMain(HINSTANCE instance, HINSTANCE, const wchar_t* arguments, int showCommand) {
    moves = ArgumentNumber(arguments, moves);
    return RunToolWith(Measure, instance, arguments, showCommand);
}

}  // namespace

int main() { RunProcess(BenchMain, ClearToolState); }
