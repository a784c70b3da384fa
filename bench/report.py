"""Prints the benchmark table from the JSON lines that run_bench.py wrote: medians over the runs,
and each comparison as the median of ratios taken within the same run."""
import json
import statistics
import sys
from collections import defaultdict


def load(path):
    runs = defaultdict(list)  # (size, subject) -> [figures]
    with open(path) as f:
        for line in f:
            figures = json.loads(line)
            runs[(figures["size"], figures["subject"])].append(figures)
    return runs


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


class Table:
    def __init__(self, runs):
        self.runs = runs
        self.sizes = sorted({size for size, _ in runs}, key=lambda s: int(s.split("x")[0]))

    def figure(self, size, subject, key):
        return median(r.get(key) for r in self.runs.get((size, subject), []))

    def ratio(self, size, top, bottom):
        """Median over runs of top/bottom, each a (subject, key) pair measured in the same run."""
        tops = {r["run"]: r.get(top[1]) for r in self.runs.get((size, top[0]), [])}
        bottoms = {r["run"]: r.get(bottom[1]) for r in self.runs.get((size, bottom[0]), [])}
        return median(tops[run] / bottoms[run] for run in tops
                      if tops[run] is not None and bottoms.get(run))

    def row(self, label, cell, target="", digits=2):
        cells = []
        for size in self.sizes:
            value = cell(size)
            if value is None:
                cells.append("-")
            elif isinstance(value, str):
                cells.append(value)
            else:
                cells.append(f"{value:.{digits}f}")
        print(f"  {label:<46}" + "".join(f"{c:>13}" for c in cells) + f"  {target}")

    def heading(self, text):
        print(text)


def print_table(table):
    f, r = table.figure, table.ratio
    print(f"  {'':<46}" + "".join(f"{s:>13}" for s in table.sizes) + "  target")

    table.heading("1 Drag frame in process, ms (median frame)")
    table.row("tool: copy + box + redraw", lambda s: f(s, "drag_frame", "tool_draw_ms"))
    table.row("plain GDI: blit + Rectangle + blit", lambda s: f(s, "drag_frame", "gdi_draw_ms"))
    table.row("memcpy of one frame", lambda s: f(s, "drag_frame", "memcpy_ms"))
    table.row("tool / plain GDI", lambda s: r(s, ("drag_frame", "tool_draw_ms"), ("drag_frame", "gdi_draw_ms")),
              "<= 1.30")
    table.row("tool / memcpy", lambda s: r(s, ("drag_frame", "tool_draw_ms"), ("drag_frame", "memcpy_ms")))
    table.row("with messages handled (shown): tool / GDI",
              lambda s: r(s, ("drag_frame", "tool_shown_ms"), ("drag_frame", "gdi_shown_ms")))
    table.heading("  where the tool's frame goes, ms (median step; the pointer just moved, as in a drag)")
    for label, key in [("GetCursorPos + ScreenToClient", "cursor_ms"),
                       ("CopyGraphic", "copy_ms"),
                       ("  find the source (GetDlgItem, object list)", "copy_lookup_ms"),
                       ("  graphic lock and current target", "copy_lock_ms"),
                       ("  for scale: a whole blit into the backing store", "copy_blit_ms"),
                       ("DrawGraphicBox", "box_ms"),
                       ("RedrawGraphic", "redraw_ms"),
                       ("  to WM_PAINT (InvalidateRgn, UpdateWindow)", "redraw_to_paint_ms"),
                       ("  WM_PAINT to WM_DRAWITEM (BeginPaint, colour)", "paint_to_drawitem_ms"),
                       ("  the blit to the window", "paint_blit_ms"),
                       ("  after it (EndPaint, UpdateWindow's return)", "after_paint_ms"),
                       ("SetMousePointer (the WM_SETCURSOR answer)", "pointer_ms"),
                       ("messages handled: pixels handed to X", "hand_off_ms"),
                       ("plain GDI: blit into the back buffer", "gdi_restore_ms"),
                       ("plain GDI: Rectangle", "gdi_outline_ms"),
                       ("plain GDI: blit to the window", "gdi_show_ms"),
                       ("plain GDI: pixels handed to X", "gdi_hand_off_ms")]:
        table.row(label, lambda s, key=key: f(s, "drag_frame", key), digits=3)

    table.heading("2 Drag, whole system: CPU ms per mouse move")
    table.row("tool + Wine processes + Xvfb", lambda s: f(s, "tool", "drag_cpu_ms_per_move"))
    table.row("Flameshot + Xvfb + D-Bus", lambda s: f(s, "flameshot", "drag_cpu_ms_per_move"))
    table.row("tool / Flameshot", lambda s: r(s, ("tool", "drag_cpu_ms_per_move"),
                                            ("flameshot", "drag_cpu_ms_per_move")), "<= 1")
    table.row("Wine floor: the same moves, nothing drawn", lambda s: f(s, "floor", "drag_cpu_ms_per_move"))
    table.row("tool / Wine floor", lambda s: r(s, ("tool", "drag_cpu_ms_per_move"),
                                             ("floor", "drag_cpu_ms_per_move")))
    table.row("input latency, tool (ms)", lambda s: f(s, "tool", "input_latency_ms"), digits=1)
    table.row("input latency, Flameshot (ms)", lambda s: f(s, "flameshot", "input_latency_ms"), digits=1)

    table.heading("3 Ready: process start to full-screen window mapped, ms")
    table.row("Wine floor", lambda s: f(s, "floor", "ready_ms"), digits=0)
    table.row("tool", lambda s: f(s, "tool", "ready_ms"), digits=0)
    table.row("Flameshot", lambda s: f(s, "flameshot", "ready_ms"), digits=0)
    table.row("tool / Wine floor", lambda s: r(s, ("tool", "ready_ms"), ("floor", "ready_ms")), "<= 1.2")
    table.row("tool / Flameshot", lambda s: r(s, ("tool", "ready_ms"), ("flameshot", "ready_ms")))

    table.heading("4 Export of the whole screen, ms")
    table.row("tool: release to report box", lambda s: f(s, "tool", "export_ms"), digits=0)
    table.row("  of which Wine waits for a window manager", lambda s: f(s, "tool", "unmap_ms"), digits=0)
    table.row("tool: dialog withdrawn to report box", lambda s: f(s, "tool", "export_after_unmap_ms"), digits=0)
    table.row("in process: crop + clipboard + file", lambda s: f(s, "export_steps", "export_ms"), digits=0)
    table.row("  crop / clipboard / file", lambda s: steps(table, s))
    table.row("one WriteFile of the file's bytes", lambda s: f(s, "export_steps", "write_once_ms"), digits=1)
    table.row("in process / WriteFile", lambda s: r(s, ("export_steps", "export_ms"),
                                                  ("export_steps", "write_once_ms")), "<= 1.5")
    table.row("Flameshot: release to PNG saved", lambda s: f(s, "flameshot", "export_ms"), digits=0)
    table.row("tool (withdrawn to box) / Flameshot",
              lambda s: r(s, ("tool", "export_after_unmap_ms"), ("flameshot", "export_ms")), "<= 1")
    table.heading("  the platform's own part, which any program pays")
    table.row("  a CF_DIB of the same bytes onto the clipboard", lambda s: f(s, "export_steps", "clipboard_floor_ms"))
    table.row("    of which SetClipboardData", lambda s: f(s, "export_steps", "set_clipboard_data_ms"))
    table.row("  Wine floor: window withdrawn to message box", lambda s: f(s, "floor", "box_after_unmap_ms"), digits=0)
    table.row("  tool less that part / Flameshot", lambda s: beyond_platform(table, s), "<= 1")
    table.row("  tool's clipboard step / the floor's",
              lambda s: r(s, ("export_steps", "clipboard_ms"), ("export_steps", "clipboard_floor_ms")))

    table.heading("5 Memory: peak working set (VmHWM), MB")
    table.row("tool", lambda s: f(s, "tool", "peak_rss_mb"), digits=0)
    table.row("tool, frames above 16 MB (W x H x 4)", lambda s: f(s, "tool", "peak_frames"), "<= 5")
    table.row("Wine floor", lambda s: f(s, "floor", "peak_rss_mb"), digits=0)
    table.row("Flameshot", lambda s: f(s, "flameshot", "peak_rss_mb"), digits=0)
    table.row("whole-screen file and clipboard correct", lambda s: checks(table, s), "yes")

    table.heading("6 Steady state: after 100 moves -> after the last")
    table.row("moves", lambda s: f(s, "steady_state", "moves"), digits=0)
    table.row("GDI objects", lambda s: pair(table, s, "gdi_after_100", "gdi_end", 0), "equal")
    table.row("private MB", lambda s: pair(table, s, "private_after_100_mb", "private_end_mb", 1), "equal")
    table.row("working set MB", lambda s: pair(table, s, "working_set_after_100_mb", "working_set_end_mb", 1))

    table.heading("7 Idle, pointer still: CPU % of one core over 10 s")
    table.row("tool", lambda s: f(s, "tool", "idle_cpu_percent"), digits=1)
    table.row("  rest of Wine and Xvfb meanwhile", lambda s: f(s, "tool", "idle_others_cpu_percent"), digits=1)
    table.row("Wine floor", lambda s: f(s, "floor", "idle_cpu_percent"), digits=1)
    table.row("  rest of Wine and Xvfb meanwhile", lambda s: f(s, "floor", "idle_others_cpu_percent"), digits=1)
    table.row("Flameshot", lambda s: f(s, "flameshot", "idle_cpu_percent"), digits=1)


def beyond_platform(table, size):
    """The tool's export (withdrawn to box) less what the platform takes for the clipboard
    handover and the report box, over Flameshot's save; medians of each."""
    f = table.figure
    parts = [f(size, "tool", "export_after_unmap_ms"), f(size, "export_steps", "clipboard_floor_ms"),
             f(size, "floor", "box_after_unmap_ms"), f(size, "flameshot", "export_ms")]
    if None in parts or not parts[3]:
        return None
    return (parts[0] - parts[1] - parts[2]) / parts[3]


def steps(table, size):
    values = [table.figure(size, "export_steps", k) for k in ("crop_ms", "clipboard_ms", "file_ms")]
    return None if None in values else "/".join(f"{v:.0f}" for v in values)


def checks(table, size):
    runs = [r for r in table.runs.get((size, "tool"), []) if "file_ok" in r]
    if not runs:
        return None
    return "yes" if all(r["file_ok"] and r["clipboard_ok"] for r in runs) else "NO"


def pair(table, size, first, last, digits):
    a, b = table.figure(size, "steady_state", first), table.figure(size, "steady_state", last)
    return None if a is None or b is None else f"{a:.{digits}f}->{b:.{digits}f}"


def main():
    runs = load(sys.argv[1])
    print_table(Table(runs))


if __name__ == "__main__":
    main()
