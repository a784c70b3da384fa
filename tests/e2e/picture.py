"""Pictures as exact pixels: the painter's pattern, screenshots, bitmap files and DIB blocks."""

import re
import struct
import subprocess
import time
from dataclasses import dataclass
from functools import lru_cache
from pathlib import Path

RED = (255, 0, 0)


@dataclass(frozen=True)
class Image:
    """Top-down RGB pixels, three bytes each."""

    width: int
    height: int
    rgb: bytes

    def crop(self, left, top, right, bottom):
        """The pixels of columns left..right and rows top..bottom, both ends included."""
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right + 1) * 3]
                for y in range(top, bottom + 1)]
        return Image(right - left + 1, bottom - top + 1, b"".join(rows))

    def differences(self, other, limit=5):
        """A short description of how other differs from this image, or "" when it does not."""
        if (self.width, self.height) != (other.width, other.height):
            return f"size {other.width} x {other.height}, expected {self.width} x {self.height}"
        if self.rgb == other.rgb:
            return ""
        found = []
        count = 0
        for i in range(0, len(self.rgb), 3):
            if self.rgb[i:i + 3] != other.rgb[i:i + 3]:
                count += 1
                if len(found) < limit:
                    y, x = divmod(i // 3, self.width)
                    found.append(f"({x}, {y}) is {tuple(other.rgb[i:i + 3])}, "
                                 f"expected {tuple(self.rgb[i:i + 3])}")
        return f"{count} pixels differ: " + "; ".join(found)


@lru_cache(maxsize=2)
def pattern(width, height):
    """What pattern_painter shows on a screen of this size."""
    reds = bytes(x & 255 for x in range(width))
    rows = []
    for y in range(height):
        row = bytearray(width * 3)
        row[0::3] = reds
        row[1::3] = bytes([y & 255]) * width
        row[2::3] = bytes(0x40 | ((x >> 8) & 7) << 3 | ((y >> 8) & 7) for x in range(width))
        rows.append(bytes(row))
    return Image(width, height, b"".join(rows))


def with_outline(image, corner, other):
    """image with the tool's selection outline between two points: a one-pixel red rectangle
    over columns left..right-1 and rows top..bottom-1, the window system's rule for boxes."""
    left, right = sorted((corner[0], other[0]))
    top, bottom = sorted((corner[1], other[1]))
    right -= 1
    bottom -= 1
    rgb = bytearray(image.rgb)

    def paint(x, y):
        at = (y * image.width + x) * 3
        rgb[at:at + 3] = bytes(RED)

    for x in range(left, right + 1):
        paint(x, top)
        paint(x, bottom)
    for y in range(top, bottom + 1):
        paint(left, y)
        paint(right, y)
    return Image(image.width, image.height, bytes(rgb))


def parse_ppm(data):
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not match or match.group(3) != b"255":
        raise ValueError("not an 8-bit binary PPM picture")
    width, height = int(match.group(1)), int(match.group(2))
    rgb = data[match.end():match.end() + width * height * 3]
    if len(rgb) != width * height * 3:
        raise ValueError("PPM picture is cut short")
    return Image(width, height, rgb)


def screenshot():
    """The X screen as it is now. The pointer is never part of it."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True,
                          capture_output=True, timeout=60).stdout
    return parse_ppm(data)


def wait_for_screen(expected, what, timeout=30, keep=None):
    """Waits until the screen shows expected. On a timeout the last screenshot is written to the
    PPM file keep, if given, and the failure says where it differed."""
    deadline = time.monotonic() + timeout
    while True:
        seen = screenshot()
        if seen == expected:
            return
        if time.monotonic() >= deadline:
            if keep:
                Path(keep).write_bytes(b"P6 %d %d 255\n" % (seen.width, seen.height) + seen.rgb)
            raise AssertionError(f"{what} never showed: {expected.differences(seen)}")
        time.sleep(0.1)


def decode_with_imagemagick(data, kind):
    """Decodes a picture file with ImageMagick, as an ordinary X consumer would."""
    ppm = subprocess.run(["convert", f"{kind}:-", "-depth", "8", "ppm:-"], input=data, check=True,
                         capture_output=True, timeout=60).stdout
    return parse_ppm(ppm)


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def bitmap_file(image):
    """The uncompressed 24-bit bottom-up bitmap file of image, filler bytes zero."""
    stride = row_stride(image.width, 24)
    pixels = bytearray()
    for y in reversed(range(image.height)):
        row = bytearray(image.rgb[y * image.width * 3:(y + 1) * image.width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]
        pixels += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, 24, 0, 0, 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    return header + info + bytes(pixels)


@dataclass(frozen=True)
class Dib:
    """A packed 32-bit bottom-up DIB as the clipboard holds it."""

    header: tuple
    image: Image
    fourth_bytes: frozenset
    size: int


def parse_dib(block):
    header = struct.unpack_from("<IiiHHIIiiII", block)
    size, width, height, planes, bits, compression = header[:6]
    if size != 40 or bits != 32 or planes != 1 or compression != 0 or width <= 0 or height <= 0:
        raise ValueError(f"unexpected DIB header {header}")
    pixels = block[40:40 + width * height * 4]
    if len(pixels) != width * height * 4:
        raise ValueError("DIB block is cut short")
    rows = []
    for y in reversed(range(height)):
        row = pixels[y * width * 4:(y + 1) * width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::4], row[1::4], row[0::4]
        rows.append(bytes(rgb))
    return Dib(header, Image(width, height, b"".join(rows)), frozenset(pixels[3::4]), len(block))


def parse_bitmap_file(data):
    """The pixels of an uncompressed 24-bit bottom-up bitmap file."""
    width, height = struct.unpack_from("<ii", data, 18)
    stride = row_stride(width, 24)
    rows = []
    for y in reversed(range(height)):
        row = bytearray(data[54 + y * stride:54 + y * stride + width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]
        rows.append(bytes(row))
    return Image(width, height, b"".join(rows))
