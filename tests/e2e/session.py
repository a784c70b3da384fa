"""Where things are in a test session, and how Windows programs are started in it."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# Exceptions that Wine swallows inside window-system callbacks are reported on these lines.
WINEDEBUG = "-all,err+seh"


def require(name):
    value = os.environ.get(name)
    if not value:
        sys.exit(f"{name} is not set: run the tests through CTest inside tests/rig/session.sh")
    return value


BUILD = Path(require("RETAZO_BUILD"))
# The tool as this host runs it: the shipped i686 build, or the x86_64 build of the same sources
# on a host that cannot execute 32-bit programs.
TOOL = BUILD / "Retazo.exe"
WINE = require("RETAZO_WINE")
require("WINEPREFIX")
require("DISPLAY")
# "openbox" when a window manager runs on the display (tests/rig/session.sh --window-manager).
WINDOW_MANAGER = os.environ.get("RETAZO_WINDOW_MANAGER", "none")
# What sets this session apart from the plain one: window manager, Wine version, scaled desktop.
LEG = [name for name, plain in [(WINDOW_MANAGER, "none"),
                                ("wine" + os.environ.get("RETAZO_WINE_VERSION", "8"), "wine8"),
                                (os.environ.get("RETAZO_DPI", "96") + "dpi", "96dpi")]
       if name != plain]


def screen_size():
    width, height = require("RETAZO_SCREEN").split("x")
    return int(width), int(height)


def primary_monitor_size():
    """What the tool covers: the whole screen, unless the session makes the primary monitor a
    smaller part of it (tests/rig/session.sh --primary-monitor)."""
    width, height = os.environ.get("RETAZO_PRIMARY_MONITOR", require("RETAZO_SCREEN")).split("x")
    return int(width), int(height)


def helper(name):
    return BUILD / f"{name}.exe"


def windows_path(path):
    """The name a Wine process sees for a host path (drive Z: is the host's root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def wine_environment(locale=None, native_dlls=()):
    """The environment of a Windows program; Wine takes its ANSI code page from `locale`, and
    looks for the DLLs named in `native_dlls` in the program's folder first, as Windows does,
    before its own."""
    env = dict(os.environ)
    env["WINEDEBUG"] = WINEDEBUG
    if locale:
        env["LC_ALL"] = locale
    if native_dlls:
        overrides = [env.get("WINEDLLOVERRIDES", "")] + [f"{name}=n,b" for name in native_dlls]
        env["WINEDLLOVERRIDES"] = ";".join(filter(None, overrides))
    return env


def run_program(program, *arguments, cwd=None, timeout=60, locale=None):
    """Runs a Windows program to its end; returns (exit code, stdout text, stderr text).
    The output goes through files, not pipes: Wine's own background processes, started by the
    first program of a session, inherit its output handles and would hold pipes open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        done = subprocess.run([WINE, str(program), *map(str, arguments)], cwd=cwd,
                              env=wine_environment(locale), stdin=subprocess.DEVNULL, stdout=out,
                              stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        return (done.returncode, out.read().decode("utf-8", "replace"),
                err.read().decode("utf-8", "replace"))


def run_helper(name, *arguments, cwd=None, timeout=60, locale=None):
    return run_program(helper(name), *arguments, cwd=cwd, timeout=timeout, locale=locale)


def seh_errors(text):
    return [line for line in text.splitlines() if "err:seh" in line]


def import_registry(entries, workdir):
    """Writes registry values through `reg import`. entries: {key: {value name or "@": text}}."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in entries.items():
        lines.append(f"[{key}]")
        for name, text in values.items():
            quoted = text.replace("\\", "\\\\").replace('"', '\\"')
            lines.append(f'@="{quoted}"' if name == "@" else f'"{name}"="{quoted}"')
        lines.append("")
    path = Path(workdir) / "settings.reg"
    path.write_bytes("\r\n".join(lines).encode("utf-16"))
    code, out, err = run_program("reg", "import", windows_path(path))
    if code != 0:
        raise RuntimeError(f"reg import failed ({code}): {out} {err}")


def poll(condition, timeout, interval=0.05, what="condition"):
    """Returns the first true value of condition() within timeout seconds, else raises."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class WorkDir:
    """A fresh directory under the build tree. The one of the latest run of a test is kept for
    a look after a failure; older ones go. Each leg of the run has its own, since the legs run
    side by side."""

    def __init__(self, name):
        root = BUILD / "-".join(["e2e-work", *LEG])
        root.mkdir(exist_ok=True)
        for old in root.glob(f"{name}-*"):
            shutil.rmtree(old, ignore_errors=True)
        self.path = Path(tempfile.mkdtemp(prefix=f"{name}-", dir=root))

    def sub(self, name):
        path = self.path / name
        path.mkdir()
        return path
