#!/usr/bin/env python3
"""Draws the programs' icon, a white pair of quavers on a red tile, and
writes it as a Windows .ico holding PNG images of the usual sizes.

    tools/make_icon.py app/windows/kscgen.ico
"""
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
RED = (198, 40, 40)
DARK = (142, 24, 24)
WHITE = (255, 255, 255)


def rounded_square(x, y, r=0.18, m=0.03):
    """Inside the tile: a square with rounded corners, margin m."""
    lo, hi = m + r, 1 - m - r
    cx = min(max(x, lo), hi)
    cy = min(max(y, lo), hi)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and m <= x <= 1 - m and m <= y <= 1 - m


def note(x, y):
    """Two beamed quavers: tilted oval heads, stems and a slanted beam."""
    def head(cx, cy):
        dx, dy = x - cx, y - cy
        u = 0.83 * dx + 0.56 * dy
        v = -0.56 * dx + 0.83 * dy
        return (u / 0.115) ** 2 + (v / 0.08) ** 2 <= 1

    if head(0.33, 0.72) or head(0.69, 0.64):
        return True
    # Stems on the heads' right sides, up to the beam.
    if 0.415 <= x <= 0.46 and 0.29 <= y <= 0.71:
        return True
    if 0.775 <= x <= 0.82 and 0.21 <= y <= 0.63:
        return True
    # The beam: from (0.415, 0.27) to (0.82, 0.19), 0.1 thick.
    if 0.415 <= x <= 0.82:
        top = 0.27 + (x - 0.415) * (0.19 - 0.27) / (0.82 - 0.415)
        return top <= y <= top + 0.1
    return False


def pixel(px, py, size, n=4):
    """The colour of one pixel, n x n samples averaged."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(n):
        for sx in range(n):
            x = (px + (sx + 0.5) / n) / size
            y = (py + (sy + 0.5) / n) / size
            if not rounded_square(x, y):
                continue
            if note(x, y):
                c = WHITE
            else:
                t = y  # a little darker towards the bottom
                c = tuple(round(a + (b - a) * t) for a, b in zip(RED, DARK))
            for i in range(3):
                acc[i] += c[i]
            acc[3] += 255
    k = n * n
    alpha = acc[3] / k
    if alpha == 0:
        return (0, 0, 0, 0)
    covered = acc[3] / 255
    return tuple(round(acc[i] / covered) for i in range(3)) + (round(alpha),)


def png(size):
    rows = bytearray()
    for py in range(size):
        rows.append(0)
        for px in range(size):
            rows.extend(pixel(px, py, size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def main():
    images = [png(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
