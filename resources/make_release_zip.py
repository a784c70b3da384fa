#!/usr/bin/env python3
"""Writes the release zip: Retazo.exe, LICENSE.txt and README.txt with Windows line ends, and
their SHA256SUMS. The same inputs give the same zip, byte for byte.
    usage: make_release_zip.py <zip> <Retazo.exe> <licence> <read-me>"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile
from pathlib import Path

DOS_EPOCH = 315532800  # 1980-01-01, the oldest time a zip entry can carry


def entry_time(source_dir):
    """The time of every entry: SOURCE_DATE_EPOCH, else the last commit's, never the clock's."""
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    done = subprocess.run(["git", "-C", str(source_dir), "log", "-1", "--format=%ct"],
                          capture_output=True, text=True)
    return int(done.stdout) if done.returncode == 0 and done.stdout.strip() else DOS_EPOCH


def windows_text(path):
    """CRLF line ends, and a UTF-8 byte order mark where there are accents, so that Notepad on
    any Windows shows them."""
    text = Path(path).read_bytes().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return text if text.isascii() else b"\xef\xbb\xbf" + text


def write_zip(target, members, seconds):
    stamp = max(seconds, DOS_EPOCH)
    date_time = time.gmtime(stamp)[:6]
    partial = target.with_name(target.name + ".partial")
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in members:
            info = zipfile.ZipInfo(name, date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made "on Windows": no Unix mode bits that vary by umask
            info.external_attr = 0
            archive.writestr(info, data)
    partial.replace(target)


def main(zip_path, exe, licence, readme):
    members = [("Retazo.exe", Path(exe).read_bytes()),
               ("LICENSE.txt", windows_text(licence)),
               ("README.txt", windows_text(readme))]
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in members)
    members.append(("SHA256SUMS", sums.encode("ascii")))
    target = Path(zip_path)
    target.parent.mkdir(parents=True, exist_ok=True)
    # The licence lies at the top of the source tree.
    write_zip(target, members, entry_time(Path(licence).resolve().parent))
    print(f"{target}: {hashlib.sha256(target.read_bytes()).hexdigest()}")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
