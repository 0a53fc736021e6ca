#!/usr/bin/env python3
"""Whole-process timing of sprite sheets: quorvel-cli sheet against Pillow.

Makes a sheet of 1,024 frames of 64 x 64 (a 2048 x 2048 photograph-like PNG, ImageMagick
plasma with a fixed seed) with its JSON description, the same frames on a key colour with
5-pixel gaps as the community's dumpers lay them out, and times, round robin, cutting each into
a sprite file (by the JSON file, by --grid 32x32 and by --key) and stitching the sprite file
back into a grid picture with its JSON file. Pillow does the same work in a short script: it
crops every frame, reduces it with quantize(palette=...) and writes one sprite file; the key
sheet is searched row by row for its bands and column by column for its frames; stitching
pastes the sprites into one paletted picture and writes the JSON file. scripts/bench.sh runs
this after bench_background.py.
"""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_compare  # noqa: E402  (measure, game_colours, load)

FRAME, ACROSS = 64, 32  # 32 x 32 frames of 64 x 64
GAP, ROW_END, KEY_INDEX = 5, 800, 100
GOAL_SECONDS = 1.0

PILLOW_SHEET = """\
import json, struct, sys
from PIL import Image, ImageChops
command, source, target, palette_file = sys.argv[1:5]
palette = Image.open(palette_file)

def reduce(image, boxes):
    frames = [image.crop(box).quantize(palette=palette, dither=Image.Dither.NONE) for box in boxes]
    header, blocks, offset = [struct.pack("<H", len(frames))], [], 2 + 8 * len(frames)
    for f in frames:
        w4 = (f.width + 3) // 4 * 4
        if w4 != f.width:
            padded = Image.new("P", (w4, f.height))
            padded.paste(f, (0, 0))
            f = padded
        header.append(struct.pack("<IHH", offset, f.width, f.height))
        blocks.append(f.tobytes())
        offset += f.width * f.height
    with open(target, "wb") as out:
        out.write(b"".join(header + blocks))

def key_boxes(image):
    w, h = image.size
    difference = ImageChops.difference(image, Image.new("RGB", image.size, image.getpixel((0, 0))))
    r, g, b = difference.split()
    data = ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 1 if v else 0).tobytes()
    rows = [data[w * y:w * (y + 1)] for y in range(h)]
    zero = bytes(w)
    boxes, y = [], 0
    while y < h:
        if rows[y] == zero:
            y += 1
            continue
        top = y
        while y < h and rows[y] != zero:
            y += 1
        band = 0
        for r in rows[top:y]:
            band |= int.from_bytes(r, "big")
        columns = band.to_bytes(w, "big")
        x = 0
        while x < w:
            if columns[x] == 0:
                x += 1
                continue
            left = x
            while x < w and columns[x] != 0:
                x += 1
            first, last = top, y
            while rows[first][left:x] == zero[left:x]:
                first += 1
            while rows[last - 1][left:x] == zero[left:x]:
                last -= 1
            boxes.append((left, first, x, last))
    return boxes

if command == "stitch":
    data = open(source, "rb").read()
    count = struct.unpack_from("<H", data, 0)[0]
    entries = [struct.unpack_from("<IHH", data, 2 + 8 * k) for k in range(count)]
    cw, ch = max(e[1] for e in entries), max(e[2] for e in entries)
    across = count if cw * count <= 8192 else max(1, 8192 // cw)
    down = (count + across - 1) // across
    whole = Image.new("P", (across * cw, down * ch))
    whole.putpalette(palette.getpalette())
    frames = []
    for k, (offset, w, h) in enumerate(entries):
        x, y = k % across * cw, k // across * ch
        whole.paste(Image.frombytes("P", (w, h), data[offset:offset + w * h]), (x, y))
        frames.append({"filename": f"sheet {k}", "frame": {"x": x, "y": y, "w": w, "h": h},
                       "rotated": False, "trimmed": False,
                       "spriteSourceSize": {"x": 0, "y": 0, "w": w, "h": h},
                       "sourceSize": {"w": w, "h": h}, "duration": 100})
    whole.save(target, transparency=0)
    with open(target.rsplit(".", 1)[0] + ".json", "w") as f:
        json.dump({"frames": frames, "meta": {"app": "pillow", "image": target}}, f)
    sys.exit(0)
image = Image.open(source).convert("RGB")
if command == "json":
    description = json.load(open(source.rsplit(".", 1)[0] + ".json"))
    boxes = [(f["frame"]["x"], f["frame"]["y"], f["frame"]["x"] + f["frame"]["w"],
              f["frame"]["y"] + f["frame"]["h"]) for f in description["frames"]]
elif command == "grid":
    cw, ch = image.width // 32, image.height // 32
    boxes = [(c * cw, r * ch, (c + 1) * cw, (r + 1) * ch) for r in range(32) for c in range(32)]
else:
    boxes = key_boxes(image)
reduce(image, boxes)
"""


def make_inputs(work, palette_colours):
    """The grid sheet (also cut by its JSON file) and the key-colour sheet of the same frames."""
    from PIL import Image
    side = FRAME * ACROSS
    grid = os.path.join(work, "sheet-grid.png")
    if not os.path.exists(grid):
        subprocess.run(["convert", "-seed", str(bench_compare.SEED), "-size", f"{side}x{side}",
                        "plasma:fractal", "-depth", "8", "-type", "TrueColor", f"PNG24:{grid}"],
                       check=True)
    described = os.path.join(work, "sheet-json.png")
    if not os.path.exists(described):
        with open(grid, "rb") as f, open(described, "wb") as out:
            out.write(f.read())
        frames = [{"filename": f"sheet {k}",
                   "frame": {"x": k % ACROSS * FRAME, "y": k // ACROSS * FRAME, "w": FRAME,
                             "h": FRAME},
                   "rotated": False, "trimmed": False,
                   "spriteSourceSize": {"x": 0, "y": 0, "w": FRAME, "h": FRAME},
                   "sourceSize": {"w": FRAME, "h": FRAME}, "duration": 100}
                  for k in range(ACROSS * ACROSS)]
        with open(os.path.join(work, "sheet-json.json"), "w", encoding="utf-8") as f:
            json.dump({"frames": frames, "meta": {"size": {"w": side, "h": side}}}, f, indent=1)
    keyed = os.path.join(work, "sheet-key.png")
    if not os.path.exists(keyed):
        per_row = (ROW_END - GAP) // (FRAME + GAP)
        rows = (ACROSS * ACROSS + per_row - 1) // per_row
        sheet = Image.new("RGB", (GAP + per_row * (FRAME + GAP), GAP + rows * (FRAME + GAP)),
                          palette_colours[KEY_INDEX])
        source = Image.open(grid).convert("RGB")
        for k in range(ACROSS * ACROSS):
            x, y = k % ACROSS * FRAME, k // ACROSS * FRAME
            sheet.paste(source.crop((x, y, x + FRAME, y + FRAME)),
                        (GAP + k % per_row * (FRAME + GAP), GAP + k // per_row * (FRAME + GAP)))
        sheet.save(keyed)
    return grid, described, keyed


def commands(program, work, cli, pillow, palette, pictures):
    """The four commands of one program: cut by JSON, by grid, by key; stitch."""
    grid, described, keyed = pictures
    tag = program.split()[0]
    out = lambda name: os.path.join(work, f"{name}-{tag}.spr")  # noqa: E731
    stitched = os.path.join(work, f"stitched-{tag}.png")
    if program == "quorvel-cli":
        return {"cut by JSON": [cli, "sheet", described, out("json")],
                "cut by grid": [cli, "sheet", "--grid", "32x32", grid, out("grid")],
                "cut by key": [cli, "sheet", "--key", keyed, out("key")],
                "stitch": [cli, "sheet", "--stitch", out("grid"), stitched]}
    run = [sys.executable, pillow]
    return {"cut by JSON": run + ["json", described, out("json"), palette],
            "cut by grid": run + ["grid", grid, out("grid"), palette],
            "cut by key": run + ["key", keyed, out("key"), palette],
            "stitch": run + ["stitch", out("grid"), stitched, palette]}


def main():
    args = bench_compare.parse_bench_arguments(__doc__)

    from PIL import Image
    colours = bench_compare.game_colours(args.palette_source)
    pictures = make_inputs(args.work, colours)
    palette = os.path.join(args.work, "pal.png")
    image = Image.new("P", (16, 16))
    image.putpalette([c for colour in colours for c in colour])
    image.putdata(list(range(256)))
    image.save(palette)
    pillow = os.path.join(args.work, "pillow_sheet.py")
    with open(pillow, "w", encoding="utf-8") as f:
        f.write(PILLOW_SHEET)
    record = os.path.join(args.work, "peak.txt")

    programs = ("quorvel-cli", "Pillow")
    work = {p: commands(p, args.work, args.cli, pillow, palette, pictures) for p in programs}
    for p in programs:  # the sprite files to stitch, and a check that each program runs
        subprocess.run(work[p]["cut by grid"], check=True)
    print()
    print(f"sprite sheets, {ACROSS * ACROSS} frames of {FRAME} x {FRAME}; "
          f"load average {bench_compare.load()}")
    print(f"  {'work':12} {'program':12} {'median s':>9} {'cpu s':>7} {'peak MiB':>9} "
          f"{'quorvel-cli faster by':>22}")
    failures = []
    for task in ("cut by JSON", "cut by grid", "cut by key", "stitch"):
        results = bench_compare.measure([(p, work[p][task]) for p in programs], args.runs, record)
        ours = bench_compare.print_against_ours(task, 12, results, programs)
        if ours >= GOAL_SECONDS:
            failures.append(f"{task}: {ours:.3f} s, goal under {GOAL_SECONDS} s")
    bench_compare.print_goal("Sheet", failures)


if __name__ == "__main__":
    main()
