#!/usr/bin/env python3
"""Draws the program's icons: a metafile page with a few shapes on it, under a blue inspection
ring. Writes app/orvella.ico (32 x 32 and 16 x 16) and app/small.ico (16 x 16).

Run from anywhere: python3 tools/draw_icons.py. Needs only the standard library."""

import math
import os
import struct

SUPERSAMPLE = 4


def inside_page(x, y):
    """"page", "fold" (the dog-ear at the top right) or None outside the page."""
    if not (0.16 <= x <= 0.74 and 0.06 <= y <= 0.94):
        return None
    beyond_fold = x - 0.58 > y - 0.06
    if beyond_fold:
        return None
    if x >= 0.58 and y <= 0.22:
        return "fold"
    return "page"


def colour_at(x, y):
    """RGBA of the icon at (x, y), both in 0..1, y downwards."""
    # Inspection ring and handle, over everything.
    cx, cy, r = 0.60, 0.60, 0.22
    d = math.hypot(x - cx, y - cy)
    if r - 0.055 <= d <= r + 0.015:
        return (30, 80, 170, 255)
    hx, hy = x - cx, y - cy
    along = (hx + hy) / math.sqrt(2)
    across = abs(hx - hy) / math.sqrt(2)
    if r + 0.01 <= along <= r + 0.24 and across <= 0.06:
        return (40, 40, 60, 255)
    page = inside_page(x, y)
    lens = d < r - 0.055
    if page is None:
        return (180, 215, 255, 110) if lens else (0, 0, 0, 0)
    if page == "fold":
        return (200, 200, 210, 255)
    # Shapes drawn on the page.
    if math.hypot(x - 0.34, y - 0.30) <= 0.11:
        rgba = (220, 60, 50, 255)
    elif 0.22 <= x <= 0.50 and 0.50 <= y <= 0.66:
        rgba = (60, 140, 220, 255)
    elif 0.62 <= y <= 0.88 and abs(x - 0.40) <= (y - 0.62) * 0.55:
        rgba = (60, 170, 90, 255)
    elif abs(y - 0.44) < 0.02 and 0.50 <= x <= 0.68:
        rgba = (120, 120, 130, 255)
    else:
        rgba = (255, 255, 255, 255)
    if x <= 0.175 or x >= 0.725 or y <= 0.075 or y >= 0.925:
        rgba = (90, 90, 100, 255)
    if lens:
        rgba = tuple(int(c * 0.8 + t * 0.2) for c, t in zip(rgba[:3], (180, 215, 255))) + (255,)
    return rgba


def render(size):
    pixels = []
    for row in range(size):
        line = []
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (column + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (row + (sy + 0.5) / SUPERSAMPLE) / size
                    r, g, b, a = colour_at(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            samples = SUPERSAMPLE * SUPERSAMPLE
            alpha = total[3] / samples
            if total[3] == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append(tuple(int(round(c / total[3])) for c in total[:3]) +
                            (int(round(alpha)),))
        pixels.append(line)
    return pixels


def icon_image(size):
    """One icon image: a 32-bit DIB with its alpha, bottom-up, and an all-clear AND mask."""
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for line in reversed(pixels) for r, g, b, a in line)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + colour + mask


def write_icon(path, sizes):
    images = [icon_image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(directory + entries + b"".join(images))


def main():
    app = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app")
    write_icon(os.path.join(app, "orvella.ico"), [32, 16])
    write_icon(os.path.join(app, "small.ico"), [16])


if __name__ == "__main__":
    main()
