#!/usr/bin/env python3
"""Draws icon 128, a motor symbol (a disc with an M between its two leads)
under a current arrow, and writes it as a 16-colour .ico with a 32x32 and a
16x16 image. The 16x16 image is drawn by hand, pixel by pixel, since
scaling the large one down would blur the M.

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
BLACK, MAROON, OLIVE, NAVY, GREY, RED, YELLOW, WHITE = 0, 1, 3, 4, 8, 9, 11, 15
CLEAR = None

# Colours of the hand-drawn image, one letter a pixel.
LETTERS = {".": CLEAR, "K": BLACK, "m": MAROON, "o": OLIVE, "N": NAVY,
           "G": GREY, "R": RED, "Y": YELLOW, "W": WHITE}

SMALL = [
    "...........R....",
    "...RRRRRRRRRR...",
    "...........R....",
    "................",
    "......NNNN......",
    "....NNWYYYNN....",
    "...NWWYYYYYYN...",
    "...NWYYYYYYYN...",
    "..NYNYYYYYNYYN..",
    "KKNYNNYYYNNYYNKK",
    "GGNYNYNYNYNYoNGG",
    "..NYNYYNYYNYoN..",
    "...NNYYYYYNoN...",
    "...NYYYYYoooN...",
    "....NNYYooNN....",
    "......NNNN......",
]

# The bold M of the large image.
M_LARGE = [
    "##........##",
    "###......###",
    "####....####",
    "##.##..##.##",
    "##..####..##",
    "##...##...##",
    "##........##",
    "##........##",
    "##........##",
    "##........##",
    "##........##",
]


def canvas(size):
    return [[CLEAR] * size for _ in range(size)]


def motor(pixels, cx, cy, outer, ring):
    """A yellow disc in a navy ring, lit from the top left."""
    inner = outer - ring
    for y in range(len(pixels)):
        for x in range(len(pixels)):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if d2 > outer ** 2:
                continue
            if d2 > inner ** 2:
                pixels[y][x] = NAVY
            elif (x - cx + inner * 0.5) ** 2 + (y - cy + inner * 0.5) ** 2 < (inner * 0.22) ** 2:
                pixels[y][x] = WHITE
            elif (x - cx + 2.5) ** 2 + (y - cy + 2.5) ** 2 > inner ** 2:
                pixels[y][x] = OLIVE
            else:
                pixels[y][x] = YELLOW


def glyph(pixels, rows, left, top, colour):
    for dy, row in enumerate(rows):
        for dx, mark in enumerate(row):
            if mark == "#":
                pixels[top + dy][left + dx] = colour


def lead(pixels, y, x0, x1):
    """A wire: black above, grey below, so it shows on dark and light ground."""
    for x in range(x0, x1 + 1):
        pixels[y][x] = BLACK
        pixels[y + 1][x] = GREY


def arrow(pixels, y, x0, tip, half, colour):
    """A current arrow pointing right along row y: a 3-pixel shaft and a
    triangular head, 2 * half + 1 rows tall."""
    for x in range(x0, tip - half + 1):
        for row in (y - 1, y, y + 1):
            pixels[row][x] = colour
    for i in range(half + 1):
        for row in range(y - half + i, y + half - i + 1):
            pixels[row][tip - half + i] = colour


def large():
    p = canvas(32)
    lead(p, 19, 0, 31)
    motor(p, 15.5, 19.5, 12.2, 2.0)
    glyph(p, M_LARGE, 10, 14, NAVY)
    arrow(p, 3, 5, 27, 3, RED)
    return p


def small():
    return [[LETTERS[mark] for mark in row] for row in SMALL]


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
    for pixels in (large(), small()):
        assert all(len(row) == len(pixels) for row in pixels)
    with open(sys.argv[1], "wb") as f:
        f.write(icon([large(), small()]))
