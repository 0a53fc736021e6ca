#!/usr/bin/env python3
"""Whole-process timing of room backgrounds: quorvel-cli background against Pillow.

Makes an 8352 x 1200 photograph-like PNG (ImageMagick plasma, fixed seed) and times, round
robin, making the background sprite file from it (nearest and dither) and stitching the file
back into one picture (PNG and bitmap). Pillow does the same work in a short script: it
reduces the whole picture with quantize(palette=...), crops the 464 tiles column by column
and saves them as one sprite file; for the way back it reads the file, pastes the tiles into
one paletted picture and saves that. scripts/bench.sh runs this after bench_compare.py.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_compare  # noqa: E402  (run_once, measure, game_colours, machine, load)

WIDTH, HEIGHT = 8352, 1200
TILE_W, TILE_H, ROWS = 144, 150, 8
GOAL_SECONDS = {"nearest": 0.3, "dither": 0.3, "png": 1.0, "bmp": 1.0}

PILLOW_BACKGROUND = """\
import struct, sys
from PIL import Image
W, H, TW, TH, ROWS = 8352, 1200, 144, 150, 8
command, source, target, method, palette_file = sys.argv[1:6]
if command == "cut":
    image = Image.open(source).convert("RGB")
    dither = Image.Dither.NONE if method == "nearest" else Image.Dither.FLOYDSTEINBERG
    image = image.quantize(palette=Image.open(palette_file), dither=dither)
    count = (W // TW) * ROWS
    header = [struct.pack("<H", count)]
    blocks = []
    for k in range(count):
        left, top = k // ROWS * TW, k % ROWS * TH
        header.append(struct.pack("<IHH", 2 + 8 * count + k * TW * TH, TW, TH))
        blocks.append(image.crop((left, top, left + TW, top + TH)).tobytes())
    with open(target, "wb") as f:
        f.write(b"".join(header + blocks))
else:
    data = open(source, "rb").read()
    count = struct.unpack_from("<H", data, 0)[0]
    whole = Image.new("P", (W, H))
    whole.putpalette(Image.open(palette_file).getpalette())
    for k in range(count):
        offset, tw, th = struct.unpack_from("<IHH", data, 2 + 8 * k)
        tile = Image.frombytes("P", (tw, th), data[offset:offset + tw * th])
        whole.paste(tile, (k // ROWS * TW, k % ROWS * TH))
    whole.save(target)
"""


def make_picture(path):
    if not os.path.exists(path):
        subprocess.run(["convert", "-seed", str(bench_compare.SEED), "-size",
                        f"{WIDTH}x{HEIGHT}", "plasma:fractal", "-depth", "8",
                        "-type", "TrueColor", f"PNG24:{path}"], check=True)


def commands(program, work, method, args):
    """(cut command, stitch command) pairs for one program; `method` is nearest or dither for
    cutting, png or bmp for stitching."""
    picture = os.path.join(work, "room.png")
    back = os.path.join(work, f"back-{program.split()[0]}.spr")
    if method in ("nearest", "dither"):
        if program == "quorvel-cli":
            return [args.cli, "background"] + (["--dither"] if method == "dither" else []) + \
                [picture, back]
        return [sys.executable, args.pillow_script, "cut", picture, back, method, args.palette]
    out = os.path.join(work, f"whole-{program.split()[0]}.{method}")
    if program == "quorvel-cli":
        return [args.cli, "background", "--stitch", back, out]
    return [sys.executable, args.pillow_script, "stitch", back, out, method, args.palette]


def main():
    args = bench_compare.parse_bench_arguments(__doc__)

    from PIL import Image
    picture = os.path.join(args.work, "room.png")
    make_picture(picture)
    args.palette = os.path.join(args.work, "pal.png")
    palette = Image.new("P", (16, 16))
    palette.putpalette([c for colour in bench_compare.game_colours(args.palette_source)
                        for c in colour])
    palette.putdata(list(range(256)))
    palette.save(args.palette)
    args.pillow_script = os.path.join(args.work, "pillow_background.py")
    with open(args.pillow_script, "w", encoding="utf-8") as f:
        f.write(PILLOW_BACKGROUND)
    record = os.path.join(args.work, "peak.txt")

    print()
    print(f"room background, {WIDTH} x {HEIGHT} PNG, {os.path.getsize(picture) / 2**20:.1f} MiB; "
          f"load average {bench_compare.load()}")
    print(f"  {'work':18} {'program':12} {'median s':>9} {'cpu s':>7} {'peak MiB':>9} "
          f"{'quorvel-cli faster by':>22}")
    failures = []
    programs = ("quorvel-cli", "Pillow")
    for work, method in (("cut, nearest", "nearest"), ("cut, dither", "dither"),
                         ("stitch to PNG", "png"), ("stitch to bitmap", "bmp")):
        if method == "png":
            # The files to stitch: each program's own, made by the same method.
            for program in programs:
                subprocess.run(commands(program, args.work, "nearest", args), check=True)
        cases = [(p, commands(p, args.work, method, args)) for p in programs]
        results = bench_compare.measure(cases, args.runs, record)
        ours = bench_compare.print_against_ours(work, 18, results, programs)
        if ours >= GOAL_SECONDS[method]:
            failures.append(f"{work}: {ours:.3f} s, goal under {GOAL_SECONDS[method]} s")
    bench_compare.print_goal("Background", failures)


if __name__ == "__main__":
    main()
