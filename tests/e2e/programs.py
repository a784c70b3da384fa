"""The Windows programs of a test: the pattern painter behind everything, and the tool itself."""

import select
import subprocess
import time

from . import picture, xinput
from .session import (TOOL, WINE, helper, poll, primary_monitor_size, run_helper, screen_size,
                      seh_errors, wine_environment)


class Painter:
    """Covers the screen, or the rectangle (left, top, right, bottom) with both ends included,
    with the known pattern until stopped. Being a live Wine process, it also keeps the clipboard
    bridge to X running between the short-lived programs of a test."""

    def __init__(self, area=None):
        width, height = screen_size()
        left, top, right, bottom = area or (0, 0, width - 1, height - 1)
        geometry = [] if area is None else [left, top, right - left + 1, bottom - top + 1]
        self.process = subprocess.Popen([WINE, str(helper("pattern_painter")), *map(str, geometry)],
                                        env=wine_environment(), stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, bufsize=0)
        try:
            self._wait_announced(60)
            expected = picture.pattern(width, height).crop(left, top, right, bottom)
            poll(lambda: picture.screenshot().crop(left, top, right, bottom) == expected, 30, 0.1,
                 "the pattern on the screen")
        except BaseException:
            self.stop()
            raise

    def _wait_announced(self, timeout):
        deadline = time.monotonic() + timeout
        line = b""
        while not line.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                raise TimeoutError("pattern_painter did not get ready")
            byte = self.process.stdout.read(1)
            if not byte:
                raise RuntimeError(f"pattern_painter ended with {self.process.wait()}")
            line += byte
        if line.strip() != b"ready":
            raise RuntimeError(f"pattern_painter said {line!r}")

    def stop(self):
        self.process.stdin.close()
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class ToolRun:
    """One run of the product in its own current directory, its output kept in that directory."""

    def __init__(self, cwd, product=TOOL, locale=None, native_dlls=()):
        self.cwd = cwd
        with open(cwd / "tool.stdout", "wb") as out, open(cwd / "tool.stderr", "wb") as err:
            self.process = subprocess.Popen([WINE, str(product)], cwd=cwd,
                                            env=wine_environment(locale, native_dlls),
                                            stdin=subprocess.DEVNULL, stdout=out, stderr=err)

    def wait_shown(self, expected, timeout=60):
        """Waits until the tool's full-screen window is up and shows `expected` (the photograph)."""
        width, height = primary_monitor_size()

        def full_screen_window():
            if self.process.poll() is not None:
                raise AssertionError(f"the tool ended early with exit code {self.process.returncode}")
            return any(xinput.geometry(w) == (0, 0, width, height)
                       for w in xinput.windows_of_process(self.process.pid))

        poll(full_screen_window, timeout, 0.1, "the tool's full-screen window")
        picture.wait_for_screen(expected, "the photograph", timeout, self.cwd / "screen.ppm")

    def wait_exit(self, timeout=60):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the tool did not end within {timeout} s") from None

    def seh_errors(self):
        return seh_errors((self.cwd / "tool.stderr").read_text("utf-8", "replace"))

    def kill(self):
        """Ends a run that a failed test left behind."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class Peer:
    """A helper program running beside the tool, e.g. one that holds a file or the clipboard.
    Its handshake goes through named events: <prefix>-holding, <prefix>-release."""

    def __init__(self, name, *arguments, prefix):
        self.prefix = prefix
        self.process = subprocess.Popen([WINE, str(helper(name)), *map(str, arguments)],
                                        env=wine_environment(), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_holding(self, timeout=30):
        self.wait_for("holding", timeout)

    def wait_for(self, event, timeout=30):
        """Waits for <prefix>-<event>; lets the peer go and fails when it is not signalled."""
        code, _, _ = run_helper("named_event", "wait", f"{self.prefix}-{event}", int(timeout * 1000),
                                timeout=timeout + 60)
        if code != 0:
            self.finish()
            raise AssertionError(f"{self.prefix}: no {event} from the peer (exit {self.process.returncode})")

    def finish(self, timeout=30):
        """Lets the peer go and returns its exit code."""
        run_helper("named_event", "set", f"{self.prefix}-release")
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return self.process.wait()
