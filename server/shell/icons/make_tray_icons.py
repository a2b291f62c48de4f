#!/usr/bin/env python3
"""Draws Ringhold's two tray icons and writes them as 16-colour .ico files (32x32 and 16x16).

    make_tray_icons.py OUTDIR    -> OUTDIR/running.ico, OUTDIR/stopped.ico

The pictures are described as shapes on a unit square, so both sizes come from one drawing.
"""
import math
import struct
import sys

# The standard 16-colour palette, in the order 4-bit bitmaps use it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, GREY, SILVER, RED, LIME, WHITE = 0, 1, 2, 8, 7, 9, 10, 15


def in_disc(x, y, r):
    return math.hypot(x - 0.5, y - 0.5) <= r


def in_handset(x, y):
    # A telephone handset lying on its back: a thick arch with the ear and mouth pieces at
    # its feet.
    dx, dy = x - 0.5, y - 0.74
    dist = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(-dy, dx))
    if 0.26 <= dist <= 0.38 and 25 <= angle <= 155:
        return True
    for cx in (0.5 - 0.29, 0.5 + 0.29):
        if ((x - cx) / 0.15) ** 2 + ((y - 0.62) / 0.085) ** 2 <= 1.0:
            return True
    return False


def in_bar(x, y):
    # The "stopped" slash from top left to bottom right, inside the disc.
    return abs((x - y) / math.sqrt(2)) <= 0.07 and in_disc(x, y, 0.44)


def running(x, y):
    if in_handset(x, y):
        return WHITE
    if in_disc(x, y, 0.40):
        return LIME
    if in_disc(x, y, 0.48):
        return DARK_GREEN
    return None


def stopped(x, y):
    if in_bar(x, y):
        return RED
    if in_handset(x, y):
        return GREY
    if in_disc(x, y, 0.40):
        return SILVER
    if in_disc(x, y, 0.48):
        return DARK_RED
    return None


def render(shape, size):
    """Rows of palette indexes (None = transparent), top row first; 4x4 samples per pixel."""
    steps = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            votes = {}
            for sy in range(steps):
                for sx in range(steps):
                    c = shape((px + (sx + 0.5) / steps) / size, (py + (sy + 0.5) / steps) / size)
                    votes[c] = votes.get(c, 0) + 1
            row.append(max(votes, key=lambda c: (votes[c], c is not None)))
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def icon_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = b"", b""
    for row in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [c if c is not None else 0 for c in row]
        colour += padded(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)))
        bits = [1 if c is None else 0 for c in row]
        mask += padded(bytes(int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, size, 8)))
    return header + palette + colour + mask


def write_icon(path, shape):
    images = [icon_image(render(shape, size)) for size in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    outdir = sys.argv[1]
    write_icon(outdir + "/running.ico", running)
    write_icon(outdir + "/stopped.ico", stopped)
