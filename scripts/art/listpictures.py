#!/usr/bin/env python3
"""Draws the small pictures shown in the folder list and the drive list.

Three folders (16x15) for the folder tree and five drive kinds (16x11) for the
drive list. Each is written to src/resources/ as a 16-colour bitmap, and all
eight go side by side into an 8x enlarged PNG preview in /tmp so they can be
checked by eye. Uses only the standard library and always produces the same
bytes.

The lists draw every pixel that has the colour of a picture's bottom-left
pixel as transparent, so that corner is always background and the background
colour (fuchsia) is used nowhere else.
"""
import os
import struct
import zlib

# The usual 16-colour palette, in the usual order.
COLOURS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BACKGROUND = 13

# One character per pixel; a capital is the bright one of two colours that
# would otherwise share a letter. Only "." gives the background.
LEGEND = {
    ".": BACKGROUND,
    "k": 0, "r": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "d": 7,
    "s": 8, "R": 9, "G": 10, "y": 11, "B": 12, "A": 14, "w": 15,
}

PICTURES = {
    "closedfolder": [
        "................",
        "................",
        "..kkkkk.........",
        ".kwyyyyk........",
        "kwyyyyyykkkkkkk.",
        "kwwwwwwwwwwwwwyk",
        "kwyyyyyyyyyyyyok",
        "kwyyyyyyyyyyyyok",
        "kwyyyyyyyyyyyyok",
        "kwyyyyyyyyyyyyok",
        "kwyyyyyyyyyyyyok",
        "kwyyyyyyyyyyyyok",
        "kyoooooooooooook",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    "openfolder": [
        "................",
        "................",
        "..kkkkk.........",
        ".kwyyyyk........",
        "kwyyyyyykkkkkk..",
        "kwyoooooooooook.",
        "kwyokkkkkkkkkkkk",
        "kwyokwwwwwwwwwwk",
        "kwykwyyyyyyyyyk.",
        "kwykwyyyyyyyyyk.",
        "kykwyyyyyyyyyk..",
        "kykwyyyyyyyyyk..",
        "kkwyyyyyyyyyk...",
        "kkkkkkkkkkkkk...",
        "................",
    ],
    # The open folder with a written sheet standing in it, for the folder
    # that is current.
    "currentfolder": [
        "................",
        ".....kkkkkkkkk..",
        "..kkkwwwwwwwwk..",
        ".kwykwddddwwwk..",
        "kwyykwwwwwwwwk..",
        "kwyokwddddwwwkk.",
        "kwyokkkkkkkkkkkk",
        "kwyokwwwwwwwwwwk",
        "kwykwyyyyyyyyyk.",
        "kwykwyyyyyyyyyk.",
        "kykwyyyyyyyyyk..",
        "kykwyyyyyyyyyk..",
        "kkwyyyyyyyyyk...",
        "kkkkkkkkkkkkk...",
        "................",
    ],
    # A diskette: metal shutter at the top, paper label below.
    "floppy": [
        "................",
        "..kkkkkkkkkkk...",
        "..knnsssddsnnk..",
        "..knnsssddsnnk..",
        "..knnssssssnnk..",
        "..knnnnnnnnnnk..",
        "..knwwwwwwwwnk..",
        "..knwddddddwnk..",
        "..knwwwwwwwwnk..",
        "..kkkkkkkkkkkk..",
        "................",
    ],
    # A drive box with its green light.
    "hard": [
        "................",
        "...kkkkkkkkkkkkk",
        "..kwwwwwwwwwwwkk",
        ".kkkkkkkkkkkkkdk",
        ".kwwwwwwwwwwwkdk",
        ".kwsssssssssskdk",
        ".kwsssssssssskdk",
        ".kwsssssssGGskdk",
        ".kdddddddddddkk.",
        ".kkkkkkkkkkkkk..",
        "................",
    ],
    # A smaller drive box on a pipe that runs off both ways.
    "network": [
        "....kkkkkkkkkkk.",
        "...kwwwwwwwwwkk.",
        "..kkkkkkkkkkkdk.",
        "..kwwwwwwwwwkdk.",
        "..kwsssssGGskk..",
        "..kdddddddddk...",
        "..kkkkkkkkkkk...",
        ".......ksk......",
        ".kkkkkkksskkkkkk",
        ".ksssssssssssssk",
        ".kkkkkkkkkkkkkkk",
    ],
    # A drive with a disc tray, and a disc standing in front of it.
    "cdrom": [
        "................",
        "...kkkkkkkkkkkkk",
        "..kkkkkwwwwwwwkk",
        ".kwAssskkkkkkkdk",
        "kwAwsssdkwwwwkdk",
        "kAwssssdkkkkskdk",
        "ksssdkdsksssskdk",
        "kssssssdksGGskdk",
        "kssssAddkddddkk.",
        ".kddAddkkkkkkk..",
        "..kkkkk.........",
    ],
    # A memory board: black chips on green, gold contacts along the bottom.
    "ram": [
        "................",
        ".kkkkkkkkkkkkkkk",
        ".kgggggggggggggk",
        ".kgkkgkkgkkgkkgk",
        ".kgkkgkkgkkgkkgk",
        ".kgkkgkkgkkgkkgk",
        ".kgggggggggggggk",
        ".kkkkkkkkkkkkkkk",
        "..y.y.y.y.y.y.y.",
        "..y.y.y.y.y.y.y.",
        "................",
    ],
}
SIZES = {"closedfolder": (16, 15), "openfolder": (16, 15), "currentfolder": (16, 15),
         "floppy": (16, 11), "hard": (16, 11), "network": (16, 11),
         "cdrom": (16, 11), "ram": (16, 11)}


def decode(name):
    """Returns the picture as rows of palette indices, top row first."""
    rows = PICTURES[name]
    w, h = SIZES[name]
    assert len(rows) == h and all(len(r) == w for r in rows), name
    assert rows[-1][0] == ".", name + ": bottom-left pixel must be background"
    return [[LEGEND[c] for c in row] for row in rows]


def write_bmp(path, img):
    w, h = len(img[0]), len(img)
    stride = (w * 4 + 31) // 32 * 4
    pixels = b""
    for row in reversed(img):
        padded = row + [0] * (w % 2)
        line = bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))
        pixels += line + b"\0" * (stride - len(line))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in COLOURS)
    offset = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + colours + pixels)


def write_preview(path, images, scale=8, gap=2):
    """All pictures side by side, enlarged; background shown as a checkerboard."""
    cells = [(x0, img) for x0, img in zip(
        range(0, len(images) * (16 + gap), 16 + gap), images)]
    width = (len(images) * (16 + gap) - gap) * scale
    height = max(len(img) for img in images) * scale
    raw = b""
    for y in range(height):
        line = bytearray(b"\0")
        for x in range(width):
            colour = (90, 90, 110)                      # outside every picture
            for x0, img in cells:
                px, py = x // scale - x0, y // scale
                if 0 <= px < len(img[0]) and py < len(img):
                    index = img[py][px]
                    if index == BACKGROUND:
                        colour = (200,) * 3 if (x // 4 + y // 4) % 2 else (235,) * 3
                    else:
                        colour = COLOURS[index]
            line += bytes(colour)
        raw += line

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    images = []
    for name in PICTURES:
        picture = decode(name)
        write_bmp(os.path.join(root, "src", "resources", name + ".bmp"), picture)
        images.append(picture)
    write_preview("/tmp/listpictures_preview.png", images)
