"""Observes the shell's open requests: a recorder program registered as the opener of .bmp."""

import struct
from pathlib import Path

from .session import helper, import_registry, poll, windows_path

PROG_ID = "RetazoTests.OpenRecorder"
WINDOWS_GUI_SUBSYSTEM = 2


def copy_as_windowed_program(source, target):
    """Copies a console program, marked as a windowed one: started by the shell from a windowed
    program, a console program gets a console window, which would show in the next photograph."""
    image = bytearray(source.read_bytes())
    pe_header = struct.unpack_from("<I", image, 0x3C)[0]
    # The optional header follows the 4-byte signature and the 20-byte file header.
    struct.pack_into("<H", image, pe_header + 24 + 68, WINDOWS_GUI_SUBSYSTEM)
    target.write_bytes(image)


class OpenRecorder:
    def __init__(self, workdir):
        # A copy of its own, so that its processes can be told from any other.
        self.directory = workdir.sub("recorder")
        self.program = self.directory / "open_recorder.exe"
        copy_as_windowed_program(helper("open_recorder"), self.program)
        self.log = self.directory / "open.log"
        command = f'"{windows_path(self.program)}" "{windows_path(self.log)}" "%1"'
        import_registry({
            r"HKEY_CLASSES_ROOT\.bmp": {"@": PROG_ID},
            rf"HKEY_CLASSES_ROOT\{PROG_ID}\shell\open\command": {"@": command},
        }, self.directory)

    def running(self):
        """Whether a process of this recorder is alive. The shell has created the process before
        the request returns, so once the requester has ended, every request shows here or in the log."""
        token = self.directory.name.lower()
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                command = (entry / "cmdline").read_bytes().decode("utf-8", "replace").lower()
            except OSError:
                continue
            if token in command and "open_recorder" in command:
                return True
        return False

    def wait_finished(self, timeout=30):
        poll(lambda: not self.running(), timeout, 0.05, "the open recorder to finish")

    def requests(self):
        """Every request so far as (file, current directory, show command), once the recorders
        have finished."""
        self.wait_finished()
        if not self.log.exists():
            return []
        lines = self.log.read_text("utf-8").splitlines()
        return [tuple(line.split("\t")) for line in lines]

    def clear(self):
        """Forgets the requests so far, once their recorders have finished."""
        self.wait_finished()
        self.log.unlink(missing_ok=True)
