#!/usr/bin/env python3
"""Draws the picture on the right-hand side of the main window.

A strip of rippled blue water with the program's name running up it on its
side and a small copyright line at the foot. Writes src/resources/side.bmp
(75x260, 256-colour palette, uncompressed) and a 3x enlarged PNG preview to
/tmp so the picture can be checked by eye. Uses only the standard library and
always produces the same bytes.
"""
import math
import os
import struct
import zlib

W, H = 75, 260
VISIBLE_H = 257          # the window shows only the top 257 rows
SCALE = 4                # glyph cells per side of the big name, after smoothing
YEAR = "2026"

# Palette. The water ramp runs from deep to mid blue and stays dark enough for
# the white button captions drawn over it.
WATER, WATER_N = 0, 16
CREST, CREST_N = 16, 4   # light tops of the ripples
NAME, NAME_N = 20, 4     # the big name: lighter blue, still muted
SHADOW, CREDIT, CREDIT_SHADOW = 24, 25, 26


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


COLOURS = ([mix((8, 26, 68), (52, 98, 168), i / (WATER_N - 1)) for i in range(WATER_N)]
           + [mix((60, 106, 178), (94, 140, 206), i / (CREST_N - 1)) for i in range(CREST_N)]
           + [mix((72, 110, 176), (90, 130, 194), i / (NAME_N - 1)) for i in range(NAME_N)]
           + [(6, 16, 44), (232, 240, 255), (4, 12, 34)])

# The big name, drawn on a coarse grid and smoothed while it is enlarged.
# Capitals and the l are 9 cells tall; o and v sit on the same baseline.
BIG = {
    "T": ["########", "########", "...##...", "...##...", "...##...",
          "...##...", "...##...", "...##...", "...##..."],
    "o": [".#####.", "#######", "##...##", "##...##", "##...##",
          "#######", ".#####."],
    "l": ["##"] * 9,
    "v": ["##....##", "##....##", ".##..##.", ".##..##.", "..####..",
          "..####..", "...##..."],
}
BIG_ROWS = 9

# A plain 5x7 font for the copyright line (the copyright sign is 7 wide).
SMALL = {
    "(c)": ["..###..", ".#...#.", "#..##.#", "#.#...#", "#..##.#", ".#...#.", "..###.."],
    " ": ["..."] * 7,
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
}


def water_level(x, y):
    """Returns (shade 0..1, crest 0..1 or None) for one pixel of the water."""
    # Horizontal ripples whose rows wander up and down across the strip.
    phase = (y * 0.62 + 2.4 * math.sin(x * 0.083 + y * 0.011 + 0.7)
             + 1.1 * math.sin(x * 0.19 - y * 0.037 + 2.3))
    ripple = math.sin(phase)
    # Slow swells so neighbouring ripples differ in brightness.
    swell = math.sin(y * 0.047 + x * 0.031 + 1.9) * math.sin(y * 0.019 - x * 0.05 + 0.4)
    # A little fixed grain so the shading is not too smooth.
    grain = ((x * 73856093 ^ y * 19349663) % 1000) / 1000 - 0.5
    shade = 0.46 + 0.24 * ripple + 0.2 * swell + 0.08 * grain
    crest = None
    if ripple > 0.9 and swell > 0.15:
        crest = min(1.0, (ripple - 0.9) * 4 + swell)
    return max(0.0, min(1.0, shade)), crest


def lay_out(text, font, gap):
    """Sets glyphs side by side on their common baseline; returns rows of 0/1."""
    rows = max(len(font[ch]) for ch in text)
    out = [[] for _ in range(rows)]
    for i, ch in enumerate(text):
        glyph = font[ch]
        pad = rows - len(glyph)
        for r in range(rows):
            line = glyph[r - pad] if r >= pad else "." * len(glyph[0])
            out[r] += [int(c == "#") for c in line] + ([0] * gap if i < len(text) - 1 else [])
    return out


def scale2x(img):
    """Doubles a 0/1 picture, rounding off staircases along the way."""
    h, w = len(img), len(img[0])
    at = lambda x, y: img[y][x] if 0 <= x < w and 0 <= y < h else 0
    out = [[0] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p, a, b, c, d = at(x, y), at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            out[2 * y][2 * x] = a if c == a and c != d and a != b else p
            out[2 * y][2 * x + 1] = b if a == b and a != c and b != d else p
            out[2 * y + 1][2 * x] = c if d == c and d != b and c != a else p
            out[2 * y + 1][2 * x + 1] = d if b == d and b != a and d != c else p
    return out


def stamp(img, mask, x0, y0, colour):
    for y, row in enumerate(mask):
        for x, on in enumerate(row):
            if on and 0 <= x0 + x < W and 0 <= y0 + y < H:
                img[y0 + y][x0 + x] = colour(x0 + x, y0 + y)


def draw():
    """Returns the picture as 260 rows of palette indices, top row first."""
    levels = [[water_level(x, y) for x in range(W)] for y in range(H)]
    img = [[0] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            shade, crest = levels[y][x]
            if crest is None:
                img[y][x] = WATER + min(WATER_N - 1, int(shade * WATER_N))
            else:
                img[y][x] = CREST + min(CREST_N - 1, int(crest * CREST_N))

    # The name, enlarged and then turned a quarter turn anticlockwise so it
    # reads from the bottom up; its left edge is the top of the letters.
    upright = lay_out("Tolvo", BIG, 1)
    for _ in range(SCALE // 2):
        upright = scale2x(upright)
    tall, long = len(upright), len(upright[0])
    turned = [[upright[r][long - 1 - c] for r in range(tall)] for c in range(long)]
    x0 = (W - tall) // 2 - 1
    y0 = 135 - long // 2           # centred on the gap between the button pairs
    stamp(img, turned, x0 + 2, y0 + 2, lambda x, y: SHADOW)
    stamp(img, turned, x0, y0,
          lambda x, y: NAME + min(NAME_N - 1, int(levels[y][x][0] * NAME_N)))

    # Copyright line, centred, clear of the rows the window cuts off.
    credit = lay_out(["(c)", " "] + list(YEAR), SMALL, 1)
    cx = (W - len(credit[0])) // 2
    cy = VISIBLE_H - len(credit) - 3
    stamp(img, credit, cx + 1, cy + 1, lambda x, y: CREDIT_SHADOW)
    stamp(img, credit, cx, cy, lambda x, y: CREDIT)
    return img


def write_bmp(path, img):
    palette = COLOURS + [(0, 0, 0)] * (256 - len(COLOURS))
    stride = (W + 3) // 4 * 4
    pixels = b"".join(bytes(row) + b"\0" * (stride - W) for row in reversed(img))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + colours + pixels)


def write_preview(path, img, scale=3):
    """Enlarged PNG; the rows the window cuts off are dimmed."""
    raw = b""
    for y in range(H * scale):
        line = bytearray(b"\0")
        for x in range(W * scale):
            colour = COLOURS[img[y // scale][x // scale]]
            if y // scale >= VISIBLE_H:
                colour = tuple(c // 3 for c in colour)
            line += bytes(colour)
        raw += line

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", W * scale, H * scale, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    picture = draw()
    write_bmp(os.path.join(root, "src", "resources", "side.bmp"), picture)
    write_preview("/tmp/side_preview.png", picture)
