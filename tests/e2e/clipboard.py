"""The clipboard seen from a Windows program and from an X client."""

import subprocess
import tempfile
from pathlib import Path

from .session import run_helper, windows_path


def mark(text):
    """Puts a marker text on the clipboard, replacing whatever was there."""
    code, _, err = run_helper("clip_reader", "mark", text)
    if code != 0:
        raise RuntimeError(f"clip_reader mark failed ({code}): {err}")


def text():
    """The clipboard's text, or None when it holds none."""
    code, out, err = run_helper("clip_reader", "text")
    if code == 1:
        return None
    if code != 0:
        raise RuntimeError(f"clip_reader text failed ({code}): {err}")
    return bytes.fromhex(out.strip()).decode("utf-16-le")


def formats():
    """The numbers of the formats on the clipboard, in the order it lists them."""
    code, out, err = run_helper("clip_reader", "formats")
    if code != 0:
        raise RuntimeError(f"clip_reader formats failed ({code}): {err}")
    return [int(number) for number in out.split()]


def dib():
    """The CF_DIB block on the clipboard, byte for byte, or None when there is none."""
    with tempfile.TemporaryDirectory() as directory:
        code, _, err = run_helper("clipboard_dump", windows_path(directory))
        if code != 0:
            raise RuntimeError(f"clipboard_dump failed ({code}): {err}")
        block = Path(directory) / "dib.bin"
        return block.read_bytes() if block.exists() else None


def x_targets():
    """The targets that the X clipboard selection offers."""
    done = subprocess.run(["xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"],
                          capture_output=True, text=True, timeout=30)
    return done.stdout.split()


def x_read(target):
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                          capture_output=True, check=True, timeout=30).stdout
