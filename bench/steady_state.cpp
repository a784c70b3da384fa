// The tool's drag frame repeated: GDI objects and memory after the first 100 moves and after
// the last must be the same.
//   usage: steady_state [moves]      (default 10000)
#include "bench/bench_support.h"
#include "runtime/process_start.h"

namespace {

constexpr int kSettleMoves = 100;
int moves = 10000;

void DragMoves(int first, int end) {
    const DesktopSize desktop = GetDesktopSize();
    for (int move = first; move < end; ++move) {
        ToolDragMove(DragAnchor(desktop, move));
        PumpPending();
    }
}

void Measure() {
    const DWORD gdiAtStart = GdiObjectCount();
    DragMoves(0, kSettleMoves);
    const DWORD gdiSettled = GdiObjectCount();
    const MemoryFigures settled = ProcessMemory();
    const double start = NowMs();
    DragMoves(kSettleMoves, moves);
    const double elapsed = NowMs() - start;
    const DWORD gdiEnd = GdiObjectCount();
    const MemoryFigures end = ProcessMemory();
    const DesktopSize desktop = GetDesktopSize();
    PrintResult("steady_state width=%d height=%d moves=%d gdi_start=%lu gdi_after_100=%lu gdi_end=%lu "
                "private_after_100_mb=%.2f private_end_mb=%.2f working_set_after_100_mb=%.2f "
                "working_set_end_mb=%.2f ms_per_move=%.3f",
                desktop.width, desktop.height, moves, gdiAtStart, gdiSettled, gdiEnd, settled.privateMb,
                end.privateMb, settled.workingSetMb, end.workingSetMb, elapsed / (moves - kSettleMoves));
}

int BenchMain(HINSTANCE instance, HINSTANCE, const wchar_t* arguments, int showCommand) {
    moves = std::max(ArgumentNumber(arguments, moves), kSettleMoves + 1);
    return RunToolWith(Measure, instance, arguments, showCommand);
}

}  // namespace

int main() { RunProcess(BenchMain, ClearToolState); }
