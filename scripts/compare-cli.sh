#!/usr/bin/env bash
# Runs the Linux quorvel-cli and the Windows quorvel-cli.exe (under Wine) on the same inputs and
# checks that they agree byte for byte: exit status, standard output, standard error and every
# file written. Inputs: the BMP Suite (skipped with a message when absent) and the fuzz corpora
# and regressions, each bitmap through convert (both methods) and pack, each sprite file (and
# every pack written) through list and unpack, plus the usage texts.
#
#   scripts/compare-cli.sh LINUX_CLI WINDOWS_CLI.exe [BMPSUITE_DIR]
#
# Every command runs in a folder of its own with its inputs linked in under short relative
# names, so that the messages, which name the files, can be compared too. Exits 0 when all
# agree, 1 listing the commands that differ, 77 when a program is missing.
# QUORVEL_COMPARE_STEP=N takes only every Nth input of each fuzz corpus folder (the BMP Suite is
# always taken whole), for a quicker run; the test suite uses 4.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux="$(realpath "$1" 2>/dev/null || true)"
windows="$(realpath "$2" 2>/dev/null || true)"
bmpsuite="${3:-$here/../shared/testdata/bmpsuite}"
for program in "$linux" "$windows"; do
    if [ ! -f "$program" ]; then
        echo "compare-cli: ${program:-a program} is missing; build both first" >&2
        exit 77
    fi
done
jobs="${JOBS:-$(nproc)}"
step="${QUORVEL_COMPARE_STEP:-1}"
work="$(mktemp -d "${TMPDIR:-/tmp}/quorvel-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 linux windows work
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}" WINEDEBUG=-all
# Through the script once, to have a Wine server and the prefix's services running; then
# straight to Wine, which starts a little faster.
"$here/scripts/wine-run.sh" "$windows" --version >/dev/null
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
export wine

# Case files: one argument a line. An argument that is an absolute path is an input, linked
# into the case's folder under its name relative to $corpus (folders joined by '_').
count=0
mkdir "$work/cases"
add_case() {  # add_case CORPUS ARGUMENT...
    local id
    printf -v id '%05d' "$count"
    count=$((count + 1))
    printf '%s\n' "$@" >"$work/cases/$id"
}

# Runs one case on one side: `run_case SIDE CASE_FILE`.
run_case() {
    local side="$1" file="$2" corpus argument
    local folder="$work/$side/${file##*/}" arguments=()
    mkdir -p "$folder/unpacked"
    { read -r corpus; mapfile -t raw; } <"$file"
    for argument in "${raw[@]}"; do
        if [[ "$argument" == /* ]]; then
            local name="${argument#"$corpus"/}"
            name="${name//\//_}"
            ln -s "$argument" "$folder/$name"
            argument="$name"
        fi
        arguments+=("$argument")
    done
    local status=0
    if [ "$side" = linux ]; then
        (cd "$folder" && "$linux" "${arguments[@]}" >.stdout 2>.stderr) || status=$?
    else
        (cd "$folder" && "$wine" "$windows" "${arguments[@]}" >.stdout 2>.stderr </dev/null) ||
            status=$?
    fi
    echo "$status" >"$folder/.status"
}
export -f run_case

bitmap_inputs=()
sprite_inputs=()
corpora=()
if [ -d "$bmpsuite" ]; then
    corpora+=("$bmpsuite")
else
    echo "compare-cli: no BMP Suite at $bmpsuite; comparing on the fuzz corpora only" >&2
fi
for kind in bitmap_decode sprite_decode round_trip; do
    for top in corpus regressions; do
        [ -d "$here/fuzz/$top/$kind" ] && corpora+=("$here/fuzz/$top/$kind")
    done
done

run_all() {  # run_all FIRST_CASE: both sides of every case from FIRST_CASE on
    local first="$1"
    find "$work/cases" -type f | sort | tail -n +"$((first + 1))" >"$work/batch"
    # Both sides in turn, so that Wine is never idle long enough for its server to stop.
    xargs -a "$work/batch" -n 1 -P "$jobs" bash -c 'run_case linux "$0" && run_case windows "$0"'
}

# Whether case NUMBER succeeded on Linux.
succeeded() {
    local id status
    printf -v id '%05d' "$1"
    read -r status <"$work/linux/$id/.status"
    [ "$status" = 0 ]
}

# First every input through its reader: each bitmap converted by nearest colour, each sprite
# file unpacked (the round-trip inputs are read both ways), and the usage texts.
declare -A first_case  # "command input" -> case number
for corpus in "${corpora[@]}"; do
    every=1
    [ "$corpus" = "$bmpsuite" ] || every="$step"  # the BMP Suite always whole
    mapfile -t files < <(find "$corpus" -type f ! -name '.*' ! -name '*.md' | sort |
        awk -v step="$every" '(NR - 1) % step == 0')
    for file in "${files[@]}"; do
        if [[ "$corpus" != *sprite_decode ]]; then
            bitmap_inputs+=("$corpus $file")
            first_case["convert $file"]=$count
            add_case "$corpus" convert "$file" out.bmp
        fi
        if [[ "$corpus" == *sprite_decode || "$corpus" == *round_trip ]]; then
            sprite_inputs+=("$corpus $file")
            first_case["unpack $file"]=$count
            add_case "$corpus" unpack "$file" unpacked
        fi
    done
done
for arguments in "--help" "--version" "" "frobnicate" "convert --help" "convert --sideways a b" \
    "pack" "list a b" "unpack --dither a b"; do
    # shellcheck disable=SC2086 # the words are the arguments
    add_case / $arguments
done
run_all 0

# Then, on the inputs that read, what else the commands do with them: convert by dithering,
# list, and pack per folder and method (in order; a failing input would stop a pack at once).
second=$count
declare -A good
for entry in "${bitmap_inputs[@]}"; do
    corpus="${entry%% *}" file="${entry#* }"
    if succeeded "${first_case["convert $file"]}"; then
        add_case "$corpus" convert --dither "$file" out.bmp
        good["$corpus"]+="$file"$'\n'
    fi
done
for entry in "${sprite_inputs[@]}"; do
    corpus="${entry%% *}" file="${entry#* }"
    succeeded "${first_case["unpack $file"]}" && add_case "$corpus" list "$file"
done
first_pack=$count
for corpus in "${!good[@]}"; do
    mapfile -t files < <(printf '%s' "${good[$corpus]}")
    add_case "$corpus" pack out.spr "${files[@]}"
    add_case "$corpus" pack --dither out.spr "${files[@]}"
done
last_pack=$count
run_all "$second"

# Last, list and unpack every sprite file the packs wrote.
third=$count
for ((i = first_pack; i < last_pack; i++)); do
    printf -v id '%05d' "$i"
    written="$work/linux/$id/out.spr"
    if [ -f "$written" ]; then
        cp "$written" "$work/pack-$i.spr"
        add_case "$work" list "$work/pack-$i.spr"
        add_case "$work" unpack "$work/pack-$i.spr" unpacked
    fi
done
run_all "$third"

differing=0
for file in "$work"/cases/*; do
    id="${file##*/}"
    if ! diff -r --no-dereference "$work/linux/$id" "$work/windows/$id" >"$work/diff" 2>&1; then
        differing=$((differing + 1))
        echo "differs: quorvel-cli $(tail -n +2 "$file" | tr '\n' ' ')" >&2
        head -20 "$work/diff" >&2
    fi
done
echo "compare-cli: $count commands on ${#bitmap_inputs[@]} bitmap and ${#sprite_inputs[@]} sprite inputs, $differing differing"
[ "$differing" -eq 0 ]
