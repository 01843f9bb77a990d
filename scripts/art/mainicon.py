#!/usr/bin/env python3
"""Draws the application icon: a wooden crate seen from above and to the right.

Writes src/resources/mainicon.ico (one 32x32 image, 256-colour palette, with an
AND mask for transparency) and an 8x enlarged PNG preview to /tmp so the picture
can be checked by eye. Uses only the standard library and always produces the
same bytes.
"""
import os
import struct
import zlib

SIZE = 32
X0, X1, Y0, Y1 = 1, 21, 10, 30   # front face, inclusive pixel bounds
DEPTH = 9                        # how far the top and side recede (45 degrees)
W, H = X1 - X0 + 1, Y1 - Y0 + 1

# Colours: index 0 stays black because transparent pixels must be black.
COLOURS = [
    (0, 0, 0),
    (46, 26, 14),                                                   # 1 outline
    (236, 196, 134), (224, 180, 116), (196, 146, 84), (150, 102, 54),  # 2-5 top
    (204, 152, 88), (192, 140, 78), (160, 108, 58), (110, 70, 36),     # 6-9 front
    (148, 100, 54), (138, 92, 48), (110, 72, 38), (76, 48, 24),        # 10-13 side
    (250, 216, 160),                                                # 14 edge highlight
]
PLANK, PLANK2, BATTEN, SEAM = 0, 1, 2, 3
FACE_BASE = {"top": 2, "front": 6, "side": 10}
OUTLINE, HIGHLIGHT = 1, 14


def board(u, v, w, h, edge, seams, brace):
    """Wood pattern on one face in face coordinates (u across, v down).

    The face gets a frame of battens `edge` pixels wide, planks inside split at
    the rows in `seams`, and optionally a diagonal brace between the battens.
    """
    if edge > 2 and min(u, w - 1 - u) == 2 and min(v, h - 1 - v) == 2:
        return SEAM                                  # nail heads in the corners
    if min(u, v, w - 1 - u, h - 1 - v) < edge:
        inner = min(u, v, w - 1 - u, h - 1 - v) == edge - 1
        return SEAM if inner and edge > 1 else BATTEN
    if brace:
        # Distance (scaled) from the line joining the inner bottom-left and
        # top-right corners of the frame.
        iw, ih = w - 2 * edge - 1, h - 2 * edge - 1
        d = abs((u - edge) * ih - (h - 1 - edge - v) * iw)
        if d <= ih:
            return BATTEN
        if d <= 2 * ih:
            return SEAM
    if v in seams:
        return SEAM
    # Alternate the tone of neighbouring planks so the boards read separately.
    plank = sum(1 for s in seams if v > s)
    return PLANK2 if plank % 2 else PLANK


def classify(x, y):
    """Returns (face, u, v) for the pixel, or None when it lies outside the crate."""
    if X0 <= x <= X1 and Y0 <= y <= Y1:
        return "front", x - X0, y - Y0
    k = Y0 - y
    if 1 <= k <= DEPTH and X0 + k <= x <= X1 + k:
        return "top", x - X0 - k, DEPTH - k
    k = x - X1
    if 1 <= k <= DEPTH and Y0 - k <= y <= Y1 - k:
        return "side", k - 1, y - Y0 + k
    return None


def draw():
    """Returns the picture as 32 rows of palette indices, top row first."""
    seams = (7, 13)
    img = [[0] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            hit = classify(x, y)
            if hit is None:
                continue
            face, u, v = hit
            if face == "front":
                shade = board(u, v, W, H, 4, seams, True)
            elif face == "side":
                # One row lower than on the front, so the seams meet at the corner.
                shade = board(u, v, DEPTH, H, 2, [s + 1 for s in seams], False)
            else:
                # Top planks run front to back, so the seams are columns.
                shade = board(v, u, DEPTH, W, 2, (7, 14), False)
            img[y][x] = FACE_BASE[face] + shade
    # The front edge of the lid catches the light.
    for x in range(X0 + 2, X1 + 2):
        img[Y0 - 1][x] = HIGHLIGHT
    # Dark outline wherever the crate meets the background.
    inside = [[classify(x, y) is not None for x in range(SIZE)] for y in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside[y][x] and not all(
                    0 <= x + dx < SIZE and 0 <= y + dy < SIZE and inside[y + dy][x + dx]
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                img[y][x] = OUTLINE
    return img


def write_ico(path, img):
    palette = COLOURS + [(0, 0, 0)] * (256 - len(COLOURS))
    xor = b"".join(bytes(row) for row in reversed(img))
    mask = b""
    for row in reversed(img):
        bits = 0
        for x, index in enumerate(row):
            if index == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 256, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = header + colours + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


def write_preview(path, img, scale=8):
    """Enlarged PNG; transparent pixels are shown as a grey checkerboard."""
    raw = b""
    for y in range(SIZE * scale):
        line = bytearray(b"\0")
        for x in range(SIZE * scale):
            index = img[y // scale][x // scale]
            if index:
                line += bytes(COLOURS[index])
            else:
                line += bytes((200,) * 3 if (x // 8 + y // 8) % 2 else (235,) * 3)
        raw += line

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    side = SIZE * scale
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    picture = draw()
    write_ico(os.path.join(root, "src", "resources", "mainicon.ico"), picture)
    write_preview("/tmp/mainicon_preview.png", picture)
