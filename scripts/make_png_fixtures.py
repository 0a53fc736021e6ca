#!/usr/bin/env python3
"""Writes the PNG files the tests read, into tests/data/png.

The files are built chunk by chunk here, so that every colour type, bit depth, interlacing and
each kind of damage can be made on purpose, and the same files serve the Linux and the Windows
decoders. Run it again after changing it; the output is the same on every run.

    scripts/make_png_fixtures.py [OUTPUT_FOLDER]
"""

import os
import random
import re
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "tests", "data", "png")

GREY, RGB, INDEXED, GREY_ALPHA, RGBA = 0, 2, 3, 4, 6
CHANNELS = {GREY: 1, RGB: 3, INDEXED: 1, GREY_ALPHA: 2, RGBA: 4}

# (first row, first column, row step, column step) of the seven passes of Adam7.
ADAM7 = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2),
         (1, 0, 2, 1)]


def chunk(kind, data):
    body = kind.encode() + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def pack_row(samples, depth):
    """One filtered row (filter type 0) of samples already in channel order."""
    if depth == 16:
        return b"\0" + b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return b"\0" + bytes(samples)
    bits, row = 0, bytearray()
    for i, s in enumerate(samples):
        bits = bits << depth | s
        if (i + 1) * depth % 8 == 0:
            row.append(bits)
            bits = 0
    if len(samples) * depth % 8:
        row.append(bits << (8 - len(samples) * depth % 8))
    return b"\0" + bytes(row)


def png(width, height, kind, depth, pixels, interlaced=False, palette=b"", trns=b"", level=9):
    """`pixels`: one tuple of samples per pixel, rows top to bottom."""
    raw = b""
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    for top, left, dy, dx in passes:
        for y in range(top, height, dy):
            row = [s for x in range(left, width, dx) for s in pixels[y * width + x]]
            if row:
                raw += pack_row(row, depth)
    header = struct.pack(">IIBBBBB", width, height, depth, kind, 0, 0, int(interlaced))
    return (b"\x89PNG\r\n\x1a\n" + chunk("IHDR", header) +
            (chunk("PLTE", palette) if palette else b"") +
            (chunk("tRNS", trns) if trns else b"") +
            chunk("IDAT", zlib.compress(raw, level)) + chunk("IEND", b""))


def patch(file, kind, at, data, fix_checksum=True):
    """`file` with bytes of the first `kind` chunk's data replaced from `at` on."""
    start = file.index(kind.encode()) - 4
    length = struct.unpack(">I", file[start:start + 4])[0]
    body = bytearray(file[start + 4:start + 8 + length])
    body[4 + at:4 + at + len(data)] = data
    checksum = zlib.crc32(body) if fix_checksum else struct.unpack(
        ">I", file[start + 8 + length:start + 12 + length])[0]
    return file[:start + 4] + bytes(body) + struct.pack(">I", checksum) + file[start + 12 + length:]


def test_palette(entries):
    """Entry i is (i, 255 - i, 3i)."""
    return b"".join(bytes((i, 255 - i, 3 * i % 256)) for i in range(entries))


# Colour types and depths, each a 5 × 3 checker board of two pixels; the tests hold the colours
# they must decode to. (name, colour type, depth, pixel A, pixel B, palette entries, tRNS)
CHECKERS = [
    ("grey1", GREY, 1, (0,), (1,), 0, b""),
    ("grey2", GREY, 2, (1,), (2,), 0, b""),
    ("grey4", GREY, 4, (3,), (12,), 0, b""),
    ("grey8-trns", GREY, 8, (7,), (200,), 0, b"\0\x07"),
    ("grey16-trns", GREY, 16, (0x12FF,), (0x1200,), 0, b"\x12\xff"),
    ("greyalpha8", GREY_ALPHA, 8, (50, 127), (60, 128), 0, b""),
    ("greyalpha16", GREY_ALPHA, 16, (0x34FF, 0x7FFF), (0xABCD, 0x8000), 0, b""),
    ("rgb8-trns", RGB, 8, (1, 2, 3), (250, 128, 0), 0, b"\0\x01\0\x02\0\x03"),
    ("rgb16", RGB, 16, (0x12FF, 0x3480, 0xFFFF), (0, 0xFF, 0xFF00), 0, b""),
    ("rgba8", RGBA, 8, (10, 20, 30, 0), (40, 50, 60, 255), 0, b""),
    ("rgba16", RGBA, 16, (0x01FF, 0x02FF, 0x03FF, 0x80FF), (0xFFFF, 0, 0x7F00, 0x7FFF), 0, b""),
    ("indexed1", INDEXED, 1, (0,), (1,), 2, b""),
    ("indexed2-trns", INDEXED, 2, (2,), (3,), 4, b"\xff\xff\0"),
    ("indexed4", INDEXED, 4, (9,), (15,), 16, b""),
    ("indexed8-trns", INDEXED, 8, (200,), (1,), 256, b"\xff\x80"),
]


def game_palette():
    text = open(os.path.join(ROOT, "core", "game_palette.h")).read()
    colours = re.findall(r"0x([0-9A-Fa-f]{6})", text.split("kGameColours")[1])[:256]
    return b"".join(bytes.fromhex(c) for c in colours)


def main():
    os.makedirs(OUT, exist_ok=True)

    def write(name, data):
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(data)

    for name, kind, depth, a, b, entries, trns in CHECKERS:
        pixels = [a if (i % 5 + i // 5) % 2 == 0 else b for i in range(15)]
        for interlaced in (False, True):
            write(name + ("-interlaced" if interlaced else ""),
                  png(5, 3, kind, depth, pixels, interlaced, test_palette(entries), trns))

    # Dark noise (much of it matching black) with alphas around the threshold and a transparent
    # rectangle; and the same without any transparency.
    for width, height in [(37, 23), (1, 9), (9, 1), (130, 17)]:
        for opaque in (False, True):
            rng = random.Random(width * 1000 + height)
            pixels = []
            for y in range(height):
                for x in range(width):
                    colour = (rng.randrange(90), rng.randrange(40), rng.randrange(90))
                    hole = width // 3 <= x < width // 2 and height // 4 <= y < height // 2
                    alpha = 0 if hole else 126 + rng.randrange(4) if rng.randrange(4) == 0 else 255
                    pixels.append(colour + (255 if opaque else alpha,))
            write("noise-%dx%d%s" % (width, height, "-opaque" if opaque else ""),
                  png(width, height, RGBA, 8, pixels))

    # Every index of the game palette once, entry 0 changed (allowed) and entry 37 made
    # transparent; and the same with entry 200 off by one bit, which is no longer the palette.
    palette = bytearray(game_palette())
    palette[0] = 9
    trns = b"\xff" * 37 + b"\x7f"
    indexes = [(i,) for i in range(256)]
    write("game-palette", png(16, 16, INDEXED, 8, indexes, palette=bytes(palette), trns=trns))
    palette[3 * 200] ^= 4
    write("game-palette-changed", png(16, 16, INDEXED, 8, indexes, palette=bytes(palette),
                                      trns=trns))

    # Damaged files, each from a valid 6 × 4 RGB picture stored without compression.
    good = png(6, 4, RGB, 8, [(9, 9, 9)] * 24, level=0)
    # Bits of a stored block's header that inflating ignores: only the checksum tells.
    write("damaged-checksum", patch(good, "IDAT", 2, b"\x41", fix_checksum=False))
    write("damaged-deflate", patch(good, "IDAT", 0, b"\xff\xff"))
    write("damaged-width0", patch(good, "IHDR", 0, b"\0\0\0\0"))
    write("damaged-rgb4", patch(good, "IHDR", 8, b"\x04"))
    write("damaged-8193x8192", patch(good, "IHDR", 0, struct.pack(">II", 8193, 8192)))
    write("damaged-cut", good[:60])
    write("damaged-index", png(3, 1, INDEXED, 8, [(0,), (1,), (2,)], palette=test_palette(2)))


if __name__ == "__main__":
    main()
