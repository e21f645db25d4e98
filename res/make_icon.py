#!/usr/bin/env python3
"""Draws icon 128 (a motor symbol with a current arrow) and writes it as a
16-colour .ico with a 32x32 and a 16x16 image.

    python3 make_icon.py zkc-vandor.ico
"""
import struct
import sys

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, RED, YELLOW, WHITE = 0, 4, 9, 11, 15
CLEAR = None

# The letter M, one row per string.
M_LARGE = [
    "##.......##",
    "###.....###",
    "####...####",
    "##.##.##.##",
    "##..###..##",
    "##...#...##",
    "##.......##",
    "##.......##",
    "##.......##",
    "##.......##",
    "##.......##",
]
M_SMALL = [
    "#...#",
    "##.##",
    "#.#.#",
    "#...#",
    "#...#",
]


def canvas(size):
    return [[CLEAR] * size for _ in range(size)]


def disc(pixels, cx, cy, outer, inner, ring, fill):
    size = len(pixels)
    for y in range(size):
        for x in range(size):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 <= inner ** 2:
                pixels[y][x] = fill
            elif d2 <= outer ** 2:
                pixels[y][x] = ring


def glyph(pixels, rows, left, top, colour):
    for dy, row in enumerate(rows):
        for dx, mark in enumerate(row):
            if mark == "#":
                pixels[top + dy][left + dx] = colour


def hline(pixels, y, x0, x1, colour, thickness=1):
    for t in range(thickness):
        for x in range(x0, x1 + 1):
            pixels[y + t][x] = colour


def arrow(pixels, y, x0, tip, half, colour):
    """A current arrow pointing right: a 2-pixel shaft and a triangular head."""
    hline(pixels, y, x0, tip - half, colour, 2)
    for i in range(half + 1):
        for row in range(y - half + i, y + 2 + half - i):
            pixels[row][tip - half + i] = colour


def large():
    p = canvas(32)
    hline(p, 19, 0, 31, BLACK, 2)           # the two leads
    disc(p, 15.5, 19.5, 10.5, 8.5, NAVY, YELLOW)
    glyph(p, M_LARGE, 10, 14, NAVY)
    arrow(p, 3, 6, 25, 3, RED)
    return p


def small():
    p = canvas(16)
    hline(p, 9, 0, 15, BLACK, 2)
    disc(p, 7.5, 9.5, 5.8, 4.6, NAVY, YELLOW)
    glyph(p, M_SMALL, 6, 8, NAVY)
    arrow(p, 1, 3, 12, 1, RED)
    return p


def image(pixels):
    size = len(pixels)
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         (xor_row + and_row) * size, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray(xor_row)
        bits = bytearray(and_row)
        for x, colour in enumerate(row):
            index = 0 if colour is CLEAR else colour
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if colour is CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def icon(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for pixels in images:
        body = image(pixels)
        size = len(pixels)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
        data += body
    return out + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(icon([large(), small()]))
