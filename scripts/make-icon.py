#!/usr/bin/env python3
"""Draws the program's icon, src/win/verilote.ico: the navy rounded square
with a white bold "V" that the Qt window draws, at 16, 24, 32, 48 and 64
pixels (32-bit bitmaps with alpha) and 256 pixels (PNG), as Windows wants
them for the title bar, the task bar and Explorer.

Usage: scripts/make-icon.py [OUTPUT]   (default src/win/verilote.ico)
Only the standard library: the shapes are sampled 8 x 8 times a pixel.
"""
import pathlib
import struct
import sys
import zlib

NAVY = (0, 0, 128)
WHITE = (255, 255, 255)
SAMPLES = 8

# On a 64 x 64 canvas, as the Qt window's icon: the square from 2 to 62 with
# corners of radius 10, and a "V" 44 pixels high drawn as a polygon.
SQUARE = (2.0, 2.0, 62.0, 62.0)
RADIUS = 10.0
V_SHAPE = [(13.0, 14.0), (23.5, 14.0), (32.0, 41.0), (40.5, 14.0), (51.0, 14.0), (37.5, 51.0), (26.5, 51.0)]


def in_square(x, y):
    left, top, right, bottom = SQUARE
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + RADIUS), right - RADIUS)
    cy = min(max(y, top + RADIUS), bottom - RADIUS)
    return (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS**2


def in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def render(size):
    """Rows of (r, g, b, a), top row first."""
    scale = 64.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            square = letter = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    if in_square(x, y):
                        square += 1
                        if in_polygon(x, y, V_SHAPE):
                            letter += 1
            total = SAMPLES * SAMPLES
            alpha = square / total
            if square == 0:
                row.append((0, 0, 0, 0))
                continue
            mix = letter / square
            colour = tuple(round(n + (w - n) * mix) for n, w in zip(NAVY, WHITE))
            row.append(colour + (round(alpha * 255),))
        rows.append(row)
    return rows


def bitmap(rows):
    """A 32-bit DIB as an icon holds it: the header with twice the height,
    the colour rows bottom up in BGRA, then the 1-bit AND mask (all 0: the
    alpha channel decides)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    return header + pixels + bytes(mask_row * size)


def png(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    output = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src/win/verilote.ico")
    images = [(size, bitmap(render(size))) for size in (16, 24, 32, 48, 64)]
    images.append((256, png(render(256))))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, image in images:
        # A width or height of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_bytes(directory + data)


if __name__ == "__main__":
    main()
