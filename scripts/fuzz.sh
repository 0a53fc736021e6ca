#!/usr/bin/env bash
# Runs the fuzz targets for SECONDS each (default 60), then merges the inputs that reached new
# code into the committed corpus, minimised. Expects the fuzz preset to be built; `make fuzz`
# builds it and calls this script with FUZZ_SECONDS.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets: bitmap_decode sprite_decode round_trip png_decode
#                                              sheet_description
#
# Environment: FUZZ_JOBS targets at once (default 1), FUZZ_NICE their niceness (default 10),
# FUZZ_MERGE=0 to leave fuzz/corpus alone.
#
# Each target is seeded with its committed corpus (fuzz/corpus/TARGET), its regression inputs
# (fuzz/regressions/TARGET), the bitmap and sprite files under tests/ and, for the targets
# that read bitmaps, the BMP Suite next to the repository. Its work folder, log and any input
# that crashed it are in fuzz/out/TARGET/. The script ends with a table of executions and
# coverage and fails if any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bitmap_decode sprite_decode round_trip png_decode sheet_description)
jobs=${FUZZ_JOBS:-1}
niceness=${FUZZ_NICE:-10}
merge=${FUZZ_MERGE:-1}

bin=build/fuzz/fuzz
out=fuzz/out
bmpsuite=../shared/testdata/bmpsuite

# A process may use 2 GiB, no single allocation may exceed 300 MiB (above every cap of the
# readers), and an input that takes 30 s is reported as a hang.
limits=(-rss_limit_mb=2048 -malloc_limit_mb=300 -timeout=30)

reads_bitmaps() { [ "$1" != sprite_decode ]; }
reads_sprites() { [ "$1" != bitmap_decode ]; }

seed_folders() {
    local target=$1 work=$2
    local folders=(fuzz/corpus/"$target" fuzz/regressions/"$target")
    rm -rf "$work/test-inputs"
    mkdir -p "$work/test-inputs"
    local patterns=()
    reads_bitmaps "$target" && patterns+=(-iname '*.bmp')
    reads_sprites "$target" && patterns+=(${patterns:+-o} -iname '*.spr')
    find tests -type f \( "${patterns[@]}" \) -exec cp -t "$work/test-inputs" {} + 2>/dev/null || true
    folders+=("$work/test-inputs")
    if reads_bitmaps "$target"; then
        if [ -d "$bmpsuite" ]; then
            folders+=("$bmpsuite")
        else
            echo "note: $bmpsuite not found; $target runs without the BMP Suite" >&2
        fi
    fi
    local folder
    for folder in "${folders[@]}"; do
        [ -d "$folder" ] && echo "$folder"
    done
}

run_target() {
    local target=$1
    local work=$out/$target
    mkdir -p "$work/found" "$work/artifacts"
    local seeds=()
    mapfile -t seeds < <(seed_folders "$target" "$work")
    # Inputs are kept small where every decoded pixel goes through the colour search (16 KiB
    # holds the headers, palette and a few thousand pixels; larger seeds are cut short).
    local extra=(-max_len=65536)
    reads_bitmaps "$target" && extra=(-max_len=16384 -dict=fuzz/bitmap.dict)
    [ "$target" = png_decode ] && extra=(-max_len=16384 -dict=fuzz/png.dict)

    echo "$target: fuzzing for ${seconds}s, log in $work/log"
    nice -n "$niceness" "$bin/fuzz_$target" "${limits[@]}" "${extra[@]}" \
        -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        "$work/found" "${seeds[@]}" >"$work/log" 2>&1 || true

    if [ "$merge" = 1 ] && [ -z "$(ls -A "$work/artifacts")" ]; then
        # A fresh minimal set covering everything the corpus, the seeds and the new inputs
        # reach; smaller inputs are preferred. Regression inputs are replayed on their own.
        local merged=$work/merged
        rm -rf "$merged"
        mkdir -p "$merged"
        local sources=()
        local folder
        for folder in "${seeds[@]}"; do
            [ "$folder" = fuzz/regressions/"$target" ] || sources+=("$folder")
        done
        nice -n "$niceness" "$bin/fuzz_$target" "${limits[@]}" "${extra[@]}" -merge=1 "$merged" \
            "${sources[@]}" "$work/found" >"$work/merge.log" 2>&1
        rm -rf fuzz/corpus/"$target"
        mv "$merged" fuzz/corpus/"$target"
    fi
}

summarise() {
    local target=$1
    local log=$out/$target/log
    local last execs speed
    last=$(grep -E '^#[0-9]+' "$log" | grep 'cov:' | tail -n 1 || true)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    local cov ft
    cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
    local corpus
    corpus=$(find fuzz/corpus/"$target" -type f 2>/dev/null | wc -l)
    local found
    found=$(find "$out/$target/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' \) | sort | tr '\n' ' ')
    printf '%-14s %12s %9s %6s %7s %8s  %s\n' "$target" "${execs:-?}" "${speed:-?}" \
        "${cov:-?}" "${ft:-?}" "$corpus" "${found:-none}"
    [ -z "$found" ]
}

for target in "${targets[@]}"; do
    [ -x "$bin/fuzz_$target" ] || {
        echo "$bin/fuzz_$target is missing: build the fuzz preset first (make fuzz)" >&2
        exit 2
    }
done

running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait || true

echo
printf '%-14s %12s %9s %6s %7s %8s  %s\n' target executions "exec/s" cov ft corpus faults
status=0
for target in "${targets[@]}"; do
    summarise "$target" || status=1
done
if [ "$status" -ne 0 ]; then
    echo
    echo "Faults found: minimise each input (fuzz_TARGET -minimize_crash=1 FILE), fix the code," >&2
    echo "and keep the input in fuzz/regressions/TARGET/." >&2
fi
exit "$status"
