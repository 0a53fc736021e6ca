#!/usr/bin/env bash
# Photographs the main window on a virtual X screen and writes docs/screenshot.png.
# The window is the real one, opened by the screenshot scene program with a picture loaded
# and a few sprites added through its own commands. Needs a build (make build) and Xvfb and
# ImageMagick (make screenshot installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

scene=build/default/ui/qt/quorvel_screenshot_scene
out=docs/screenshot.png
if [ ! -x "$scene" ]; then
    echo "$scene is missing: run make build first" >&2
    exit 1
fi
mkdir -p "$(dirname "$out")"

xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
. scripts/virtual_screen.sh

id_file=$(mktemp)
QT_QPA_PLATFORM=xcb "$scene" >"$id_file" &
app_pid=$!

# The scene prints the window's id once the window is painted.
for _ in $(seq 150); do
    [ -s "$id_file" ] && break
    sleep 0.1
done
window_id=$(head -n 1 "$id_file")
rm -f "$id_file"
if [ -z "$window_id" ]; then
    echo "the window did not appear" >&2
    exit 1
fi
import -window "$window_id" "$out"
echo "wrote $out"
