#!/usr/bin/env python3
"""Draws the application icon and the About picture and writes them under resources/.

Run from anywhere; the outputs are committed, so this is only needed after changing a drawing:

    python3 scripts/make_resources.py

Writes:
  resources/icons/quorvel-16.png   16 x 16, 16 colours, transparent background
  resources/icons/quorvel-32.png   32 x 32, 256 colours (game palette), transparent background
  resources/icons/quorvel.ico      32 x 32 16 colours, 32 x 32 256 colours, 16 x 16 16 colours
  resources/about.png              240 x 128, 256 colours in the game palette
  resources/about.bmp              the same picture as an 8-bit Windows bitmap (bitmap 131 of
                                   the Windows window's resources)

Standard library only: PNG, ICO and BMP are written by hand.
"""

import pathlib
import re
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent


def game_palette():
    """The 256 colours as (r, g, b), read from the one place the program keeps them."""
    text = (ROOT / "core" / "game_palette.h").read_text()
    body = text[text.index("kGameColours") :]
    body = body[: body.index("};")]
    values = [int(v, 16) for v in re.findall(r"0x([0-9A-Fa-f]{6})", body)]
    assert len(values) == 256, len(values)
    return [((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) for v in values]


# The sixteen colours every display can show, in their customary order.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def nearest(palette, colour, candidates):
    r, g, b = colour
    best, best_d = None, None
    for i in candidates:
        pr, pg, pb = palette[i]
        d = 3 * (r - pr) ** 2 + 6 * (g - pg) ** 2 + (b - pb) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


# ---------------------------------------------------------------------------------------------
# The icon: a speckled egg drawn as chunky pixel art on a 16 x 16 grid, so that the 16-pixel
# image is the grid itself and the 32-pixel image doubles every cell. Letters name the shades.

EGG = [
    "................",
    "......oooo......",
    ".....oHHhyo.....",
    "....oHhyyyyo....",
    "...oHhyyyyyyo...",
    "...ohyysyyyyo...",
    "..ohyysSyyyyyo..",
    "..oyyyyyyysyyo..",
    "..oyyyyyysSyyo..",
    "..oysyyyyyyyYo..",
    "..oySyyyyyyyYo..",
    "..oyyyyysyyYYo..",
    "...oyyyysSYYo...",
    "...ooYyyyYYoo...",
    ".....ooooooo....",
    "................",
]

# Shade letter -> (16-colour index, true colour wanted for the 256-colour image).
SHADES = {
    "o": (0, (40, 28, 16)),      # outline
    "H": (15, (252, 252, 236)),  # highlight
    "h": (11, (248, 236, 140)),  # light shell
    "y": (11, (236, 196, 60)),   # shell
    "Y": (3, (176, 120, 36)),    # shaded shell
    "s": (9, (204, 84, 40)),     # speckle
    "S": (1, (140, 40, 24)),     # dark speckle
}


def icon_pixels(size, palette, use_game_palette):
    """Rows of palette indexes, None where transparent."""
    scale = size // 16
    if use_game_palette:
        working = list(range(11, 242))
        colour_of = {k: nearest(palette, v[1], working) for k, v in SHADES.items()}
    else:
        colour_of = {k: v[0] for k, v in SHADES.items()}
    rows = []
    for y in range(size):
        line = EGG[y // scale]
        rows.append([None if line[x // scale] == "." else colour_of[line[x // scale]]
                     for x in range(size)])
    return rows


# ---------------------------------------------------------------------------------------------
# The About picture: an evening landscape in the game palette with the egg resting on a hill
# and the program's name in a small pixel font. It carries no version: the About box shows the
# one project() in CMakeLists.txt sets, and the picture need not be drawn again when it changes.

FONT = {  # 5 x 9 glyphs: ascenders from row 0, lower case from row 2, descenders rows 7-8
    "q": ["", "", " ####", "#   #", "#   #", "#   #", " ####", "    #", "    #"],
    "u": ["", "", "#   #", "#   #", "#   #", "#  ##", " ## #"],
    "o": ["", "", " ### ", "#   #", "#   #", "#   #", " ### "],
    "r": ["", "", "# ## ", "##  #", "#    ", "#    ", "#    "],
    "v": ["", "", "#   #", "#   #", " # # ", " # # ", "  #  "],
    "e": ["", "", " ### ", "#   #", "#####", "#    ", " ####"],
    "l": [" ##  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "   ##"],
}

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def about_picture(palette):
    width, height = 240, 128
    working = list(range(11, 242)) + [242]
    cache = {}

    def index_for(colour):
        if colour not in cache:
            cache[colour] = nearest(palette, colour, working)
        return cache[colour]

    def lerp(a, b, t):
        return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))

    image = [[0] * width for _ in range(height)]
    # Sky: deep blue at the top to warm orange at the horizon, ordered-dithered between the
    # two nearest bands so the gradient stays smooth in the fixed palette.
    top, horizon = (24, 40, 100), (240, 150, 80)
    for y in range(height):
        for x in range(width):
            t = y / 96 + (BAYER4[y % 4][x % 4] - 7.5) / 16 * 0.08
            image[y][x] = index_for(lerp(top, horizon, min(max(t, 0.0), 1.0)))
    # Sun low on the horizon.
    for y in range(height):
        for x in range(width):
            if (x - 150) ** 2 + (y - 84) ** 2 <= 15 ** 2:
                image[y][x] = index_for((252, 220, 100))
    # Two rows of hills, far and near.
    import math
    for x in range(width):
        far = 86 + int(6 * math.sin(x / 23.0) + 3 * math.sin(x / 7.0 + 1))
        near = 100 + int(9 * math.sin(x / 31.0 + 2.2))
        for y in range(far, height):
            image[y][x] = index_for((60, 96, 56))
        for y in range(near, height):
            shade = (y - near) / max(1, height - near)
            dither = (BAYER4[y % 4][x % 4] - 7.5) / 16 * 0.15
            image[y][x] = index_for(lerp((100, 164, 72), (40, 80, 32),
                                         min(max(shade + dither, 0.0), 1.0)))
    # The egg, three times the icon grid, resting on the near hill.
    egg = icon_pixels(16, palette, True)
    for gy in range(16):
        for gx in range(16):
            idx = egg[gy][gx]
            if idx is None:
                continue
            for dy in range(3):
                for dx in range(3):
                    image[62 + gy * 3 + dy][24 + gx * 3 + dx] = idx
    # The name, with a dark shadow one cell down and right.
    def text(s, left, top, cell, colour, shadow):
        for n, ch in enumerate(s):
            glyph = FONT[ch]
            for gy, line in enumerate(glyph):
                for gx, on in enumerate(line):
                    if on != "#":
                        continue
                    for dy in range(cell):
                        for dx in range(cell):
                            x = left + n * 6 * cell + gx * cell + dx
                            y = top + gy * cell + dy
                            if shadow is not None:
                                image[y + cell // 2 + 1][x + cell // 2 + 1] = shadow
                    for dy in range(cell):
                        for dx in range(cell):
                            x = left + n * 6 * cell + gx * cell + dx
                            y = top + gy * cell + dy
                            image[y][x] = colour

    white = 242
    dark = index_for((16, 16, 40))
    text("quorvel", 57, 10, 3, white, dark)
    return image


# ---------------------------------------------------------------------------------------------
# Writers.

def png_chunk(kind, data):
    chunk = kind + data
    return struct.pack(">I", len(data)) + chunk + struct.pack(">I", zlib.crc32(chunk))


def write_indexed_png(path, rows, palette, transparent=None):
    """8-bit paletted PNG; `transparent` is the index that shows nothing, if any."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if transparent is not None:
        data += png_chunk(b"tRNS", bytes(255 if i != transparent else 0
                                         for i in range(transparent + 1)))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    path.write_bytes(data)


def with_transparency(rows, palette):
    """Icon rows with None replaced by an index whose colour is otherwise unused."""
    used = {i for row in rows for i in row if i is not None}
    free = next(i for i in range(len(palette)) if i not in used)
    return [[free if i is None else i for i in row] for row in rows], free


def ico_image(rows, palette, bits):
    """One icon image: a 40-byte info header (double height), colour table, XOR and AND masks."""
    size = len(rows)
    colours = 1 << bits
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette[:colours])
    table += b"\x00" * (4 * colours - len(table))
    xor = b""
    andmask = b""
    for row in reversed(rows):  # bottom row first
        if bits == 4:
            line = bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, size, 2))
        else:
            line = bytes((v or 0) for v in row)
        xor += line + b"\x00" * (-len(line) % 4)
        mask = 0
        bitsline = b""
        for x, v in enumerate(row):
            mask = (mask << 1) | (1 if v is None else 0)
            if x % 8 == 7:
                bitsline += bytes((mask,))
                mask = 0
        andmask += bitsline + b"\x00" * (-len(bitsline) % 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(xor) + len(andmask), 0, 0, 0, 0)
    return header + table + xor + andmask


def write_ico(path, images):
    """images: (size, colour count, bits, bytes) in directory order."""
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, count, bits, blob in images:
        data += struct.pack("<BBBBHHII", size, size, count % 256, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    data += b"".join(blob for *_, blob in images)
    path.write_bytes(data)


def write_indexed_bmp(path, rows, palette):
    """Uncompressed 8-bit bitmap with a 256-entry colour table, rows bottom to top."""
    height, width = len(rows), len(rows[0])
    pad = b"\x00" * (-width % 4)
    pixels = b"".join(bytes(row) + pad for row in reversed(rows))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    data = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    data += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 0, 0, 256, 0)
    path.write_bytes(data + table + pixels)


def main():
    palette = game_palette()
    icons = ROOT / "resources" / "icons"
    icons.mkdir(parents=True, exist_ok=True)

    small16 = icon_pixels(16, palette, False)
    large16 = icon_pixels(32, palette, False)
    large256 = icon_pixels(32, palette, True)

    rows, free = with_transparency(small16, VGA)
    write_indexed_png(icons / "quorvel-16.png", rows, VGA, free)
    rows, free = with_transparency(large256, palette)
    write_indexed_png(icons / "quorvel-32.png", rows, palette, free)
    write_ico(icons / "quorvel.ico", [
        (32, 16, 4, ico_image(large16, VGA, 4)),
        (32, 0, 8, ico_image(large256, palette, 8)),
        (16, 16, 4, ico_image(small16, VGA, 4)),
    ])
    about = about_picture(palette)
    write_indexed_png(ROOT / "resources" / "about.png", about, palette)
    write_indexed_bmp(ROOT / "resources" / "about.bmp", about, palette)


if __name__ == "__main__":
    main()
