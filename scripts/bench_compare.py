#!/usr/bin/env python3
"""Whole-process timing of quorvel-cli convert against ImageMagick and Pillow.

Makes the inputs (a photograph-like and a noisy 4096 x 4096 24-bit bitmap, the photograph-like
one as an RGBA PNG with a transparent border, a 256 x 256 bitmap for start-up, and the game
palette as an image), runs every command in turn so that a
change in the machine's load touches all of them alike, and prints medians, ratios and the
peak memory of each process. scripts/bench.sh runs it with the right paths.
"""

import argparse
import os
import platform
import random
import re
import statistics
import subprocess
import sys
import time

SEED = 1984
SIDE = 4096
SMALL_SIDE = 256
TINY_SIDE = 64
BORDER = 256  # the transparent frame of the RGBA PNG, in pixels

PILLOW_CONVERT = """\
import sys
from PIL import Image
source, target, method, palette_file = sys.argv[1:5]
image = Image.open(source)
if image.mode != "RGB":
    image = image.convert("RGB")
dither = Image.Dither.NONE if method == "nearest" else Image.Dither.FLOYDSTEINBERG
image.quantize(palette=Image.open(palette_file), dither=dither).save(target)
"""


def game_colours(palette_source):
    """The 256 colours as (red, green, blue), read from the palette's source file."""
    text = open(palette_source, encoding="utf-8").read()
    table = text[text.index("kGameColours"):]
    table = table[: table.index("};")]
    values = [int(v, 16) for v in re.findall(r"0x([0-9A-Fa-f]{6})", table)]
    if len(values) != 256:
        sys.exit(f"expected 256 colours in {palette_source}, found {len(values)}")
    return [(v >> 16, (v >> 8) & 0xFF, v & 0xFF) for v in values]


def is_24_bit_bitmap(path):
    with open(path, "rb") as f:
        header = f.read(30)
    return len(header) == 30 and header[:2] == b"BM" and header[28] == 24


def make_plasma(path, side):
    if not os.path.exists(path):
        subprocess.run(["convert", "-seed", str(SEED), "-size", f"{side}x{side}",
                        "plasma:fractal", "-type", "TrueColor", f"BMP3:{path}"], check=True)
    if not is_24_bit_bitmap(path):
        sys.exit(f"{path} is not a 24-bit bitmap")


def make_inputs(work, palette_source):
    from PIL import Image

    os.makedirs(work, exist_ok=True)
    photo = os.path.join(work, "photo.bmp")
    noise = os.path.join(work, "noise.bmp")
    small = os.path.join(work, "small.bmp")
    tiny = os.path.join(work, "tiny.bmp")
    palette = os.path.join(work, "pal.png")

    make_plasma(photo, SIDE)
    make_plasma(small, SMALL_SIDE)
    make_plasma(tiny, TINY_SIDE)
    if not os.path.exists(noise):
        # Every byte random: about 10.6 million distinct colours.
        pixels = random.Random(SEED).randbytes(SIDE * SIDE * 3)
        Image.frombytes("RGB", (SIDE, SIDE), pixels).save(noise)
    if not is_24_bit_bitmap(noise):
        sys.exit(f"{noise} is not a 24-bit bitmap")

    # One image serves both: ImageMagick remaps to the colours its pixels show, Pillow to its
    # palette. Every entry appears as a pixel, duplicates included.
    colours = game_colours(palette_source)
    image = Image.new("P", (16, 16))
    image.putpalette([c for colour in colours for c in colour])
    image.putdata(list(range(256)))
    image.save(palette)
    return photo, noise, small, tiny, palette


def make_rgba_png(work, photo):
    """The plasma picture as an 8-bit RGBA PNG whose outer BORDER pixels are transparent."""
    from PIL import Image

    path = os.path.join(work, "photo-rgba.png")
    if not os.path.exists(path):
        image = Image.open(photo).convert("RGBA")
        alpha = Image.new("L", image.size, 0)
        alpha.paste(255, (BORDER, BORDER, SIDE - BORDER, SIDE - BORDER))
        image.putalpha(alpha)
        image.save(path)
    return path


def run_once(command, record):
    """Wall time and processor time (user + system) in seconds, and peak resident memory in
    MiB, of one whole process.

    GNU time starts the command and reports its peak memory. Measured from this process
    instead, the figure would include this process's own memory, which a child inherits in
    its accounting at fork and keeps through exec.
    """
    start = time.perf_counter()
    finished = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", record] + command,
                              stdout=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if finished.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}")
    with open(record, encoding="utf-8") as f:
        user, system, peak = f.read().split()[-3:]
    return elapsed, float(user) + float(system), int(peak) / 1024.0


def measure(cases, runs, record):
    """Runs every case `runs` times, round robin.

    Returns {name: (median wall s, median processor s, largest peak MiB)}."""
    times = {name: [] for name, _ in cases}
    processor = {name: [] for name, _ in cases}
    peaks = {name: 0.0 for name, _ in cases}
    for _ in range(runs):
        for name, command in cases:
            elapsed, busy, peak = run_once(command, record)
            times[name].append(elapsed)
            processor[name].append(busy)
            peaks[name] = max(peaks[name], peak)
    return {name: (statistics.median(times[name]), statistics.median(processor[name]), peaks[name])
            for name, _ in cases}


def commands(program, method, source, target, args):
    dither = method == "dither"
    if program in ("quorvel-cli", "before"):
        cli = args.cli if program == "quorvel-cli" else args.before
        return [cli, "convert"] + (["--dither"] if dither else []) + [source, target]
    if program == "plain search":
        return [args.plain] + (["--dither"] if dither else []) + [source, target]
    if program == "ImageMagick":
        return ["convert", source, "-dither", "FloydSteinberg" if dither else "None",
                "-remap", args.palette, f"BMP3:{target}"]
    if program == "Pillow":
        return [sys.executable, args.pillow_script, source, target, method, args.palette]
    raise ValueError(program)


def parse_bench_arguments(description):
    """The arguments every whole-process benchmark script takes; makes the work folder."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--palette-source", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    os.makedirs(args.work, exist_ok=True)
    return args


def print_against_ours(work, width, results, programs):
    """Prints a row a program for `work`, each with how much faster quorvel-cli is; returns
    quorvel-cli's median seconds."""
    ours = results["quorvel-cli"]
    for program in programs:
        seconds, busy, peak = results[program]
        ratio = "" if program == "quorvel-cli" else f"{seconds / ours[0]:.1f}x"
        print(f"  {work:{width}} {program:12} {seconds:9.3f} {busy:7.2f} {peak:9.1f} {ratio:>22}")
    return ours[0]


def print_goal(label, failures):
    print(f"{label} targets: " + ("all met" if not failures else
                                  "missed:\n  " + "\n  ".join(failures)))


def load():
    return " ".join(f"{v:.2f}" for v in os.getloadavg())


def machine():
    model = platform.processor() or "unknown"
    try:
        lscpu = subprocess.run(["lscpu"], capture_output=True, text=True).stdout
        found = re.search(r"Model name:\s*(.+)", lscpu)
        model = found.group(1).strip() if found else model
    except OSError:
        pass
    return f"{os.cpu_count()} cores, {model}"


def versions():
    magick = subprocess.run(["convert", "-version"], capture_output=True, text=True).stdout
    magick = magick.splitlines()[0].replace("Version: ", "") if magick else "unknown"
    import PIL
    return f"{magick}; Pillow {PIL.__version__}"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--plain", required=True)
    parser.add_argument("--palette-source", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--skip", action="append", default=[],
                        help="leave out a program (quorvel-cli, plain search, ImageMagick, Pillow)")
    parser.add_argument("--before", help="an earlier quorvel-cli to compare with: peak memory, "
                        "small pictures and one processor")
    args = parser.parse_args()
    if args.runs < 1:
        sys.exit("--runs must be at least 1")

    photo, noise, small, tiny, args.palette = make_inputs(args.work, args.palette_source)
    rgba_png = make_rgba_png(args.work, photo)
    args.pillow_script = os.path.join(args.work, "pillow_convert.py")
    with open(args.pillow_script, "w", encoding="utf-8") as f:
        f.write(PILLOW_CONVERT)
    target = os.path.join(args.work, "out.bmp")
    args.record = os.path.join(args.work, "peak.txt")

    print(f"Machine: {machine()}; load average at start {load()}")
    print(f"Peers: {versions()}")
    print(f"Medians of {args.runs} runs, whole process (start, read, convert, write); "
          "cpu is user + system time.")

    programs = [p for p in ("quorvel-cli", "ImageMagick", "Pillow", "plain search")
                if p not in args.skip]
    if args.before:
        programs.insert(1, "before")
    failures = []
    # Each input: its label, its format, the programs that take it, and the size the peak
    # memory is measured against (the 24-bit file, or the PNG's pixels decoded to RGBA).
    inputs = [("photograph-like (plasma)", photo, "24-bit", programs, os.path.getsize(photo)),
              ("noise", noise, "24-bit", programs, os.path.getsize(noise)),
              ("photograph-like (plasma) with a transparent border", rgba_png, "RGBA PNG",
               [p for p in programs if p in ("quorvel-cli", "before", "Pillow")],
               4 * SIDE * SIDE)]
    for label, source, kind, programs_here, measured_size in inputs:
        size = measured_size / 2**20
        memory_limit = 2.5 * size + 32
        print()
        print(f"{label}, {SIDE} x {SIDE}, {kind}, "
              f"{os.path.getsize(source) / 2**20:.1f} MiB file, {size:.1f} MiB decoded")
        print(f"  {'method':8} {'program':13} {'median s':>9} {'cpu s':>7} {'peak MiB':>9} "
              f"{'quorvel-cli faster by':>22}")
        for method in ("nearest", "dither"):
            cases = [(p, commands(p, method, source, target, args)) for p in programs_here]
            results = measure(cases, args.runs, args.record)
            ours = results.get("quorvel-cli")
            for program in programs_here:
                seconds, busy, peak = results[program]
                ratio = "" if program == "quorvel-cli" or not ours else f"{seconds / ours[0]:.1f}x"
                print(f"  {method:8} {program:13} {seconds:9.3f} {busy:7.2f} {peak:9.1f} "
                      f"{ratio:>22}")
            if ours:
                failures += check_targets(label, kind, method, results, memory_limit)

    if args.before:
        failures += compare_with_before(args, [photo, rgba_png], [small, tiny], target)

    if "quorvel-cli" in programs and "plain search" in programs:
        print()
        print(f"start-up: {SMALL_SIDE} x {SMALL_SIDE} plasma, medians of {4 * args.runs} runs")
        for method in ("nearest", "dither"):
            cases = [(p, commands(p, method, small, target, args))
                     for p in ("quorvel-cli", "plain search")]
            results = measure(cases, 4 * args.runs, args.record)
            ours, plain = results["quorvel-cli"][0], results["plain search"][0]
            print(f"  {method:8} quorvel-cli {ours * 1000:7.1f} ms   plain search "
                  f"{plain * 1000:7.1f} ms")
            if ours > plain:
                failures.append(f"start-up {method}: {ours * 1000:.1f} ms > plain "
                                f"{plain * 1000:.1f} ms")

    print()
    print(f"Load average at the end {load()}")
    if "quorvel-cli" in programs:
        print("Targets: " + ("all met" if not failures else "missed:\n  " + "\n  ".join(failures)))


def check_targets(label, kind, method, results, memory_limit):
    """The goals for each image: speed against the peers, and peak memory, against the earlier
    quorvel-cli too when there is one."""
    failures = []
    ours, _, peak = results["quorvel-cli"]
    wanted = {("nearest", "ImageMagick"): 40.0, ("dither", "ImageMagick"): 4.0}
    if label == "photograph-like (plasma)":
        wanted[(method, "Pillow")] = 4.0
    elif "PNG" in kind:
        wanted[(method, "Pillow")] = 1.8
    else:
        wanted[(method, "Pillow")] = 1.0
    for (goal_method, program), factor in wanted.items():
        if goal_method != method or program not in results:
            continue
        ratio = results[program][0] / ours
        # Where the goal against Pillow is 1x, it is to be faster, not merely as fast.
        fails = ratio <= factor if (program == "Pillow" and factor == 1.0) else ratio < factor
        if fails:
            failures.append(f"{label} {method}: {ratio:.2f}x against {program}, goal {factor}x")
    if peak > memory_limit:
        failures.append(f"{label} {method}: peak {peak:.1f} MiB over {memory_limit:.1f} MiB")
    if "before" in results and peak > 1.1 * results["before"][2]:
        failures.append(f"{label} {method}: peak {peak:.1f} MiB, more than 10 % over the "
                        f"earlier {results['before'][2]:.1f} MiB")
    return failures


def compare_with_before(args, large, small, target):
    """Small pictures on every processor, and large ones on one processor only (taskset -c 0):
    nowhere slower than the earlier quorvel-cli. Medians of more runs, as the times are short
    or the differences small."""
    failures = []
    runs = 4 * args.runs
    print()
    print(f"against the earlier quorvel-cli, medians of {runs} runs")
    print(f"  {'picture':26} {'method':8} {'now s':>8} {'before s':>9}")
    cases = [(os.path.basename(p), [], p) for p in small] + \
            [(os.path.basename(p) + " on one cpu", ["taskset", "-c", "0"], p) for p in large]
    for label, prefix, source in cases:
        for method in ("nearest", "dither"):
            measured = measure([(p, prefix + commands(p, method, source, target, args))
                                for p in ("quorvel-cli", "before")], runs, args.record)
            now, before = measured["quorvel-cli"][0], measured["before"][0]
            print(f"  {label:26} {method:8} {now:8.4f} {before:9.4f}")
            # A hair's breadth of noise is not slower: 2 %, or a millisecond.
            if now > max(1.02 * before, before + 0.001):
                failures.append(f"{label} {method}: {now:.4f} s, slower than the earlier "
                                f"{before:.4f} s")
    return failures


if __name__ == "__main__":
    main()
