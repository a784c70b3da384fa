"""All benchmarks at one screen size, inside one tests/rig/session.sh session (private Xvfb, Wine
prefix and wineserver). Appends one JSON object per measured run to --out; report.py turns them
into the table. Started by scripts/bench.sh."""
import argparse
import json
import os
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xprobe  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
MB_PER_KB = 1 / 1024


def log(*words):
    print("bench:", *words, file=sys.stderr, flush=True)


# ---- processes -------------------------------------------------------------------------------

def read(path, mode="r"):
    try:
        with open(path, mode) as f:
            return f.read()
    except OSError:
        return b"" if "b" in mode else ""


def cpu_ticks(pid):
    stat = read(f"/proc/{pid}/stat")
    if not stat:
        return 0
    fields = stat[stat.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def peak_rss_mb(pid):
    for line in read(f"/proc/{pid}/status").splitlines():
        if line.startswith("VmHWM:"):
            return int(line.split()[1]) * MB_PER_KB
    return 0.0


def all_pids():
    return [int(name) for name in os.listdir("/proc") if name.isdigit()]


def comm(pid):
    return read(f"/proc/{pid}/comm").strip()


def has_environment(pid, variable, value):
    entry = f"{variable}={value}".encode()
    return entry in read(f"/proc/{pid}/environ", "rb").split(b"\0")


def parent(pid):
    stat = read(f"/proc/{pid}/stat")
    return int(stat[stat.rindex(")") + 2:].split()[1]) if stat else 0


def session_xvfb():
    """The Xvfb of this session: a child of the script that started us. It names its display
    through -displayfd, so the display is not on its command line."""
    ancestors = set()
    pid = os.getpid()
    while pid > 1:
        pid = parent(pid)
        ancestors.add(pid)
    for pid in all_pids():
        if comm(pid) == "Xvfb" and parent(pid) in ancestors:
            return pid
    raise RuntimeError("the session's Xvfb was not found")


def wine_processes():
    """The session's wineserver and every Wine process of its prefix."""
    prefix = os.environ["WINEPREFIX"]
    found = []
    for pid in all_pids():
        name = comm(pid)
        if (name.startswith("wineserver") or name.endswith(".exe") or name.startswith("wine")) \
                and has_environment(pid, "WINEPREFIX", prefix):
            found.append(pid)
    return found


def flameshot_processes():
    display = os.environ["DISPLAY"]
    return [pid for pid in all_pids()
            if comm(pid) == "flameshot" and has_environment(pid, "DISPLAY", display)]


def total_ticks(pids):
    return sum(cpu_ticks(pid) for pid in pids)


def stop(pid):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


# ---- the screen ------------------------------------------------------------------------------

def expected_pixel(x, y):
    return x & 255, y & 255, (x ^ y) & 255


def show_pattern(display, width, height, workdir):
    """Puts r = x, g = y, b = x ^ y (each mod 256) on the root window; the X server tiles the
    256 x 256 picture over the whole screen."""
    tile = bytearray()
    for y in range(256):
        for x in range(256):
            tile += bytes(expected_pixel(x, y))
    path = os.path.join(workdir, "pattern.ppm")
    with open(path, "wb") as f:
        f.write(b"P6\n256 256\n255\n" + tile)
    subprocess.run(["display", "-window", "root", path], stderr=subprocess.DEVNULL, timeout=60)
    probes = [(0, 0), (10, 20), (300, 5), (width // 2 + 3, height // 3), (width - 1, height - 1)]
    wrong = [p for p in probes if display.pixel(*p) != expected_pixel(*p)]
    if wrong:
        raise RuntimeError(f"the screen does not show the pattern at {wrong}")


def full_screen_window(display, width, height):
    for window in display.viewable_windows():
        if window[3] >= width and window[4] >= height:
            return window
    return None


def smaller_window(display, width, height):
    for window in display.viewable_windows():
        if window[3] < width or window[4] < height:
            return window
    return None


# ---- measurements shared by the tool, the floor and the peer -----------------------------------

def quiesce(ctx):
    """Waits until Wine and X have finished with the previous program: the Wine desktop process
    imports a clipboard that a program left behind, and the next start must not pay for that."""
    settle(wine_processes() + [ctx.xvfb], quiet_percent=5, limit=15)
    time.sleep(0.3)


def wait_ready(display, width, height, started):
    window, seen = xprobe.wait_for(lambda: full_screen_window(display, width, height), 60)
    if not window:
        raise RuntimeError("no full-screen window appeared")
    return (seen - started) * 1000


def idle_cpu(pids_of, seconds):
    """CPU percent of each group of processes over `seconds` with the pointer still."""
    time.sleep(1.0)
    groups = {name: pids() for name, pids in pids_of.items()}
    before = {name: total_ticks(pids) for name, pids in groups.items()}
    time.sleep(seconds)
    return {name: (total_ticks(pids) - before[name]) * 100.0 / TICKS / seconds
            for name, pids in groups.items()}


def settle(pids, quiet_percent, limit=20.0):
    """Waits until the processes use no more than `quiet_percent` of a CPU over 200 ms."""
    end = time.monotonic() + limit
    last = total_ticks(pids)
    while time.monotonic() < end:
        time.sleep(0.2)
        now = total_ticks(pids)
        if (now - last) * 100.0 / TICKS / 0.2 <= quiet_percent:
            return
        last = now


def scripted_drag(display, width, height, moves, interval, draws=True):
    """Press at the top left corner, `moves` moves along the diagonal, the last one on the bottom
    right corner. Returns the input latency: from the first long move to the screen changing (the
    outline's top edge, or the inside of the selection for a program that marks it so), or None
    for a program that `draws` nothing."""
    display.move(0, 0)
    display.sync()
    time.sleep(0.2)
    # A real hand takes longer than a frame between the press and the first moves: the tool reads
    # the pointer when it handles the press, and a program must see a move to begin a selection.
    display.button(True)
    time.sleep(0.05)
    display.move(2, 2)
    time.sleep(0.05)
    probes = [(width // 4, 0), (width // 4, height // 4)]
    before = [display.pixel(*p) for p in probes]
    display.move(width // 2, height // 2)
    started = time.monotonic()
    latency = None
    if draws:
        _, seen = xprobe.wait_for(lambda: [display.pixel(*p) for p in probes] != before, 10)
        latency = (seen - started) * 1000 if seen else None
        if latency is None:
            log("the screen did not change at", probes, "after the first long move")
    for i in range(1, moves + 1):
        display.move((width - 1) * i // moves, (height - 1) * i // moves)
        time.sleep(interval)
    display.sync()
    return latency


def drag_cpu(display, width, height, pids, moves, interval, quiet_percent, draws=True):
    before = total_ticks(pids)
    started = time.monotonic()
    latency = scripted_drag(display, width, height, moves, interval, draws)
    settle(pids, quiet_percent)
    ticks = total_ticks(pids) - before
    return {"drag_cpu_ms_per_move": ticks * 1000.0 / TICKS / (moves + 2),
            "drag_seconds": time.monotonic() - started, "input_latency_ms": latency}


# ---- the Windows programs --------------------------------------------------------------------

def wine(args, cwd, **kwargs):
    return subprocess.Popen([os.environ["RETAZO_WINE"], *args], cwd=cwd, **kwargs)


def run_result_program(args, cwd, timeout):
    """Runs a benchmark program and returns its RESULT lines as dictionaries."""
    # Files, not pipes: Wine's desktop process, started by the first program, inherits the
    # program's standard handles and would keep a pipe open after the program has ended.
    with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
        process = wine(args, cwd, stdout=out, stderr=err)
        try:
            returncode = process.wait(timeout)
        except subprocess.TimeoutExpired:
            stop(process.pid)
            process.wait(10)
            raise
        out.seek(0)
        err.seek(0)
        stdout, stderr = out.read(), err.read()
    results = []
    for line in stdout.splitlines():
        if line.startswith("RESULT "):
            words = line.split()[1:]
            fields = {"bench": words[0]}
            for word in words[1:]:
                key, value = word.split("=", 1)
                fields[key] = float(value)
            results.append(fields)
    if not results:
        raise RuntimeError(f"{args[0]} printed no result (exit {returncode}): {stderr[-500:]}")
    return results


def check_bitmap_file(path, width, height):
    """The 24-bit file holds the whole screen's pattern: header, size and probe pixels."""
    with open(path, "rb") as f:
        header = f.read(54)
        if len(header) < 54 or header[:2] != b"BM":
            return False
        file_width, file_height, planes, bits = struct.unpack("<iiHH", header[18:30])
        if (file_width, file_height, bits) != (width, height, 24):
            return False
        stride = (width * 3 + 3) // 4 * 4
        if os.path.getsize(path) != 54 + stride * height:
            return False
        for x, y in [(0, 0), (10, 20), (width // 2 + 1, height // 3), (width - 1, height - 1)]:
            f.seek(54 + (height - 1 - y) * stride + x * 3)
            b, g, r = f.read(3)
            if (r, g, b) != expected_pixel(x, y):
                return False
    return True


# ---- the three subjects ----------------------------------------------------------------------

class Context:
    def __init__(self, args, display, width, height, workdir):
        self.args, self.display, self.width, self.height, self.workdir = args, display, width, height, workdir
        self.xvfb = session_xvfb()
        self.frame_mb = width * height * 4 / 1024 / 1024

    def record(self, subject, run, figures):
        figures.update(subject=subject, run=run, size=f"{self.width}x{self.height}")
        with open(self.args.out, "a") as f:
            f.write(json.dumps(figures) + "\n")
        log(subject, run, {k: (round(v, 3) if isinstance(v, float) else v) for k, v in figures.items()})


def idle_figures(ctx, pid):
    """Idle CPU of a Wine program, and of the rest of Wine (wineserver above all) and X meanwhile."""
    idle = idle_cpu({"own": lambda: [pid],
                     "others": lambda: [p for p in wine_processes() if p != pid] + [ctx.xvfb]},
                    ctx.args.idle_seconds)
    return {"idle_cpu_percent": idle["own"], "idle_others_cpu_percent": idle["others"]}


def measure_floor(ctx, run):
    exe = os.path.join(ctx.args.build, "wine_floor.exe")
    ctx.display.move(ctx.width // 2, ctx.height // 2)
    quiesce(ctx)
    started = time.monotonic()
    process = wine([exe], ctx.workdir)
    figures = {"ready_ms": wait_ready(ctx.display, ctx.width, ctx.height, started)}
    if run < ctx.args.idle_runs:
        figures.update(idle_figures(ctx, process.pid))
    else:
        time.sleep(1.0)  # the same settled moment as after the idle measurement
    figures["peak_rss_mb"] = peak_rss_mb(process.pid)
    try:
        # The same drag as the tool's: what taking the moves costs Wine, X and the window manager.
        drag = drag_cpu(ctx.display, ctx.width, ctx.height, wine_processes() + [ctx.xvfb], ctx.args.moves,
                        ctx.args.interval, 60, draws=False)
        figures["drag_cpu_ms_per_move"] = drag["drag_cpu_ms_per_move"]
        box = release_until_box(ctx)
        figures["box_after_unmap_ms"] = box.get("export_after_unmap_ms")
    finally:
        stop(process.pid)
        process.wait(10)
    ctx.record("floor", run, figures)


def release_until_box(ctx):
    """Releases the button and waits for the report box, which the tool shows once the clipboard
    and the file are done. Also notes when the full-screen window left the X screen: without a
    window manager Wine waits up to 2 s for one before it withdraws a managed window, and the
    tool's export only starts after that."""
    gone = []

    def box_shown():
        windows = ctx.display.viewable_windows()
        now = time.monotonic()
        if not gone and not any(w[3] >= ctx.width and w[4] >= ctx.height for w in windows):
            gone.append(now)
        return [w for w in windows if w[3] < ctx.width or w[4] < ctx.height]

    released = time.monotonic()
    ctx.display.button(False)
    box, seen = xprobe.wait_for(box_shown, 120)
    if not box:
        return {"export_ms": None}
    unmapped = gone[0] if gone else seen
    return {"export_ms": (seen - released) * 1000, "export_after_unmap_ms": (seen - unmapped) * 1000,
            "unmap_ms": (unmapped - released) * 1000}


def measure_tool(ctx, run):
    exe = os.path.join(ctx.args.build, "Retazo.exe")
    rundir = tempfile.mkdtemp(dir=ctx.workdir)
    ctx.display.move(ctx.width // 2, ctx.height // 2)
    quiesce(ctx)
    started = time.monotonic()
    process = wine([exe], rundir)
    figures = {"ready_ms": wait_ready(ctx.display, ctx.width, ctx.height, started)}
    try:
        if run < ctx.args.idle_runs:
            figures.update(idle_figures(ctx, process.pid))
            quiet = figures["idle_cpu_percent"] + figures["idle_others_cpu_percent"] + 10
        else:
            quiet = 60
        pids = wine_processes() + [ctx.xvfb]
        figures.update(drag_cpu(ctx.display, ctx.width, ctx.height, pids, ctx.args.moves, ctx.args.interval, quiet))
        figures.update(release_until_box(ctx))
        figures["peak_rss_mb"] = peak_rss_mb(process.pid)
        figures["peak_frames"] = (figures["peak_rss_mb"] - 16) / ctx.frame_mb
        if run == 0:
            figures["file_ok"] = check_bitmap_file(os.path.join(rundir, "Retazo.bmp"), ctx.width, ctx.height)
            check = run_result_program([os.path.join(ctx.args.build, "clipboard_check.exe")], rundir, 120)[0]
            figures["clipboard_ok"] = bool(check["ok"]) and (check["width"], check["height"]) == (ctx.width, ctx.height)
    finally:
        stop(process.pid)
        process.wait(10)
    ctx.record("tool", run, figures)


def flameshot_command(path):
    return ["flameshot", "gui", "--accept-on-select", "--clipboard", "--path", path]


def png_complete(path):
    try:
        with open(path, "rb") as f:
            f.seek(-12, os.SEEK_END)
            return f.read(12)[4:8] == b"IEND"
    except OSError:
        return False


def measure_flameshot(ctx, run, bus):
    for pid in flameshot_processes():
        stop(pid)
    path = os.path.join(ctx.workdir, f"flameshot-{run}.png")
    environment = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=bus["address"], QT_QPA_PLATFORM="xcb")
    ctx.display.move(ctx.width // 2, ctx.height // 2)
    quiesce(ctx)
    started = time.monotonic()
    client = subprocess.Popen(flameshot_command(path), env=environment, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    figures = {"ready_ms": wait_ready(ctx.display, ctx.width, ctx.height, started)}
    try:
        if run < ctx.args.idle_runs:
            idle = idle_cpu({"own": flameshot_processes}, ctx.args.idle_seconds)
            figures["idle_cpu_percent"] = idle["own"]
            quiet = idle["own"] + 10
        else:
            quiet = 30
        pids = flameshot_processes() + [ctx.xvfb, bus["pid"]]
        figures.update(drag_cpu(ctx.display, ctx.width, ctx.height, pids, ctx.args.moves, ctx.args.interval, quiet))
        released = time.monotonic()
        ctx.display.button(False)
        saved, seen = xprobe.wait_for(lambda: png_complete(path), 120)
        figures["export_ms"] = (seen - released) * 1000 if saved else None
        figures["peak_rss_mb"] = max([peak_rss_mb(pid) for pid in flameshot_processes()] or [0])
    finally:
        client.wait(30)
        for pid in flameshot_processes():
            stop(pid)
    ctx.record("flameshot", run, figures)


def start_bus():
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return {"pid": daemon.pid, "process": daemon, "address": daemon.stdout.readline().strip()}


# ---- in-process benchmarks -------------------------------------------------------------------

def in_process(ctx):
    build, args = ctx.args.build, ctx.args
    ctx.display.move(ctx.width * 7 // 8, ctx.height * 7 // 8)
    for run in range(args.runs):
        for result in run_result_program([os.path.join(build, "drag_frame.exe"), str(args.frame_moves)],
                                         ctx.workdir, 1800):
            ctx.record("drag_frame", run, result)
    for result in run_result_program([os.path.join(build, "export_steps.exe"), str(args.runs)],
                                     ctx.workdir, 1800):
        ctx.record("export_steps", 0, result)
    if args.steady_moves:
        for result in run_result_program([os.path.join(build, "steady_state.exe"), str(args.steady_moves)],
                                         ctx.workdir, 3600):
            ctx.record("steady_state", 0, result)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle-runs", type=int, default=3)
    parser.add_argument("--idle-seconds", type=float, default=10)
    parser.add_argument("--moves", type=int, default=300, help="moves of the scripted drag")
    parser.add_argument("--interval", type=float, default=0.008, help="seconds between moves")
    parser.add_argument("--frame-moves", type=int, default=300)
    parser.add_argument("--steady-moves", type=int, default=0)
    parser.add_argument("--no-flameshot", action="store_true")
    args = parser.parse_args()

    width, height = (int(n) for n in os.environ["RETAZO_SCREEN"].split("x"))
    display = xprobe.Display()
    workdir = tempfile.mkdtemp(prefix="retazo-bench-")
    show_pattern(display, width, height, workdir)
    ctx = Context(args, display, width, height, workdir)
    in_process(ctx)
    bus = None if args.no_flameshot else start_bus()
    try:
        for run in range(args.runs):
            measure_floor(ctx, run)
            measure_tool(ctx, run)
            if bus:
                measure_flameshot(ctx, run, bus)
    finally:
        if bus:
            stop(bus["pid"])
            bus["process"].wait(10)


if __name__ == "__main__":
    main()
