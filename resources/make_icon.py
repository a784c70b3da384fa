#!/usr/bin/env python3
"""Draws Retazo's application icon: a photograph frame with a red selection corner, 16, 32 and 48 px."""
import struct
import sys


def pixel(x, y, size):
    """BGRA colour of one icon pixel: a blue-grey screen, a dashed red selection in its middle."""
    edge = max(1, size // 16)
    if x < edge or y < edge or x >= size - edge or y >= size - edge:
        return (60, 60, 60, 255)
    lo, hi = size // 4, size - size // 4 - 1
    on_outline = (lo <= x <= hi and y in (lo, hi)) or (lo <= y <= hi and x in (lo, hi))
    if on_outline and ((x + y) // max(1, size // 8)) % 2 == 0:
        return (0, 0, 230, 255)
    if lo < x < hi and lo < y < hi:
        return (250, 240, 230, 255)
    shade = 150 + (y * 80) // size
    return (shade, shade - 40, 60, 255)


def icon_image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        rows.append(b"".join(bytes(pixel(x, y, size)) for x in range(size)))
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    return header + b"".join(rows) + mask_row * size


def main(path):
    sizes = (16, 32, 48)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
