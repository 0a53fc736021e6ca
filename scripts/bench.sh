#!/usr/bin/env bash
# Whole-process timing of `quorvel-cli convert` against ImageMagick and Pillow (then of room
# backgrounds and sprite sheets against Pillow), run by
# `make bench` after the optimised build. Makes its own input images (nothing is downloaded)
# in build/bench-data and prints a table of medians, ratios and peak memory.
#
#   RUNS=7 scripts/bench.sh        more runs per command (default 5)
#   BEFORE=/path/quorvel-cli scripts/bench.sh
#                                  also an earlier build, for peak memory, small pictures and
#                                  one processor (none of them may be worse now)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVEL_BUILD_DIR:-$root/build/default}

"$root/scripts/install-deps.sh" bench

for tool in "$build/cli/quorvel-cli" "$build/bench/quorvel-plain-convert"; do
    if [ ! -x "$tool" ]; then
        echo "bench.sh: $tool is missing; build the default preset first (make bench does)" >&2
        exit 1
    fi
done

# Debian's own Python, which python3-pil installs into, whatever else is first on the PATH.
/usr/bin/python3 "$root/scripts/bench_compare.py" \
    --cli "$build/cli/quorvel-cli" \
    --plain "$build/bench/quorvel-plain-convert" \
    --palette-source "$root/core/game_palette.h" \
    --work "$root/build/bench-data" \
    --runs "${RUNS:-5}" \
    ${BEFORE:+--before "$BEFORE"}
/usr/bin/python3 "$root/scripts/bench_background.py" \
    --cli "$build/cli/quorvel-cli" \
    --palette-source "$root/core/game_palette.h" \
    --work "$root/build/bench-data" \
    --runs "${RUNS:-5}"
/usr/bin/python3 "$root/scripts/bench_sheets.py" \
    --cli "$build/cli/quorvel-cli" \
    --palette-source "$root/core/game_palette.h" \
    --work "$root/build/bench-data" \
    --runs "${RUNS:-5}"
