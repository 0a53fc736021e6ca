#!/usr/bin/env bash
# Photographs the Windows window under Wine on a virtual X screen and writes
# docs/screenshot-windows.png. The window is the real one, opened by the screenshot scene
# program with a picture loaded and a few sprites added through its own commands. Wine draws
# the window frame itself in a virtual desktop; the desktop around the window is trimmed off.
# Needs the Windows build (make windows), Wine, Xvfb and ImageMagick. QUORVEL_WINDOWS_BUILD names
# another build folder, QUORVEL_SCREENSHOT another picture to write.
set -euo pipefail
cd "$(dirname "$0")/.."

scene="${QUORVEL_WINDOWS_BUILD:-build/windows}/ui/win32/quorvel_win32_screenshot_scene.exe"
out="${QUORVEL_SCREENSHOT:-docs/screenshot-windows.png}"
if [ ! -f "$scene" ]; then
    echo "$scene is missing: run make windows first" >&2
    exit 1
fi
mkdir -p "$(dirname "$out")"

export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
# Wine's own fonts (package fonts-wine): Tahoma, which stands in for "MS Shell Dlg", and
# Marlett for the caption buttons. This Wine does not look for them where Debian puts them.
wine_fonts=(/usr/share/wine/fonts/*.ttf)
if [ -e "${wine_fonts[0]}" ]; then
    cp -u "${wine_fonts[@]}" "$WINEPREFIX/drive_c/windows/Fonts/"
fi

xvfb_pid=""
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
. scripts/virtual_screen.sh

"$wine" explorer /desktop=quorvel,640x400 "$scene" >/dev/null 2>&1 &
# Wait until the desktop shows more than its background: the window is up and painted.
for _ in $(seq 100); do
    sleep 0.5
    colours=$(import -window root -crop 640x400+0+0 png:- 2>/dev/null |
        convert - -format '%k' info: 2>/dev/null || echo 0)
    [ "${colours:-0}" -gt 16 ] && break
done
sleep 1
import -window root -crop 640x400+0+0 png:- | convert - -trim +repage "$out"
echo "wrote $out"
