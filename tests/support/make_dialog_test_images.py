#!/usr/bin/env python3
"""Draws the images of the dialog tests' resources: a 16x8 bitmap of four colour bands, an 8x8
32-bit bitmap with alpha and a 32x32 icon."""
import os
import struct
import sys

# Left to right, in RGB: pure colours that loading with mapped 3-D colours leaves alone.
BANDS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
BITMAP_SIZE = (16, 8)
ICON_SIZE = 32


def band_bitmap():
    width, height = BITMAP_SIZE
    row = b"".join(bytes((b, g, r)) for x in range(width) for r, g, b in [BANDS[x * len(BANDS) // width]])
    row += b"\0" * ((4 - len(row) % 4) % 4)
    return bitmap_file(width, height, 24, row * height)


def alpha_bitmap():
    """Half-transparent blue, which Common Controls 6 shows from a copy of its own."""
    size = 8
    return bitmap_file(size, size, 32, bytes((255, 0, 0, 128)) * (size * size))


def bitmap_file(width, height, bits, pixels):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def badge_icon():
    size = ICON_SIZE
    pixels = b"".join(bytes((0, 128, 255, 255)) for _ in range(size * size))
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    image = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0) + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


def main(folder):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "bands.bmp"), "wb") as f:
        f.write(band_bitmap())
    with open(os.path.join(folder, "alpha.bmp"), "wb") as f:
        f.write(alpha_bitmap())
    with open(os.path.join(folder, "badge.ico"), "wb") as f:
        f.write(badge_icon())


if __name__ == "__main__":
    main(sys.argv[1])
