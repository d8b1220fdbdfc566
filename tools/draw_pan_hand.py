#!/usr/bin/env python3
"""Draws the canvas's open-hand cursor: a 32 x 32 two-colour cursor, black outline filled white,
hot spot (13, 16), written as a .cur file (default app/pan_hand.cur).

The hand is a union of simple row spans (four fingers, a thumb, the palm); its outline is every
pixel of the union with a neighbour outside it, plus the lines that part the fingers.
Run with --show to print the drawing as text.
"""
import struct
import sys
from pathlib import Path

SIZE = 32
HOT_SPOT = (13, 16)

# Fingers: left column and top row; each is five columns wide, shares its side lines with its
# neighbours and reaches down to row 13.
FINGERS = [(7, 4), (11, 2), (15, 3), (19, 6)]
FINGER_BOTTOM = 13
# The thumb, row by row: (row, first column, last column).
THUMB = [(9, 2, 3), (10, 1, 4), (11, 1, 4), (12, 2, 5), (13, 2, 6), (14, 3, 7), (15, 3, 7),
         (16, 4, 7), (17, 5, 7)]
# The palm narrows towards the wrist: (first row, last row, first column, last column).
PALM = [(14, 22, 7, 23), (23, 25, 8, 22), (26, 28, 9, 21)]


def hand_region():
    region = set()
    parting = set()
    for left, top in FINGERS:
        region.update((x, top) for x in range(left + 1, left + 4))
        for y in range(top + 1, FINGER_BOTTOM + 1):
            region.update((x, y) for x in range(left, left + 5))
            parting.update({(left, y), (left + 4, y)})
    for y, first, last in THUMB:
        region.update((x, y) for x in range(first, last + 1))
    for top, bottom, first, last in PALM:
        for y in range(top, bottom + 1):
            region.update((x, y) for x in range(first, last + 1))
    return region, parting


def draw():
    """Returns rows of 'B' (black), 'W' (white) and ' ' (transparent), top row first."""
    region, parting = hand_region()
    rows = []
    for y in range(SIZE):
        row = ''
        for x in range(SIZE):
            if (x, y) not in region:
                row += ' '
                continue
            neighbours = [(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)]
            edge = any(n not in region for n in neighbours) or (x, y) in parting
            row += 'B' if edge else 'W'
        rows.append(row)
    return rows


def mask_rows(rows, bit_of):
    """1-bit rows, bottom row first, each 32 bits (4 bytes) wide."""
    data = b''
    for row in reversed(rows):
        bits = 0
        for x, pixel in enumerate(row):
            if bit_of(pixel):
                bits |= 1 << (31 - x)
        data += struct.pack('>I', bits)
    return data


def cursor_file(rows):
    # Colour (XOR) bits: 1 picks palette entry 1, white. The AND mask is 1 where the pixel is
    # transparent.
    xor_mask = mask_rows(rows, lambda p: p == 'W')
    and_mask = mask_rows(rows, lambda p: p == ' ')
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0,
                         len(xor_mask) + len(and_mask), 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + xor_mask + and_mask
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image),
                        6 + 16)
    return directory + entry + image


def main(argv):
    rows = draw()
    if '--show' in argv:
        for y, row in enumerate(rows):
            marks = list(row.replace('B', '#').replace('W', '.'))
            if y == HOT_SPOT[1]:
                marks[HOT_SPOT[0]] = '+'
            print(''.join(marks))
    targets = [a for a in argv if not a.startswith('--')]
    target = Path(targets[0]) if targets else Path(__file__).resolve().parent.parent / 'app' / 'pan_hand.cur'
    target.write_bytes(cursor_file(rows))


if __name__ == '__main__':
    main(sys.argv[1:])
