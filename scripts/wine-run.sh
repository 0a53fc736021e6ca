#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest and GoogleTest's test discovery (the windows
# preset's CMAKE_CROSSCOMPILING_EMULATOR): `scripts/wine-run.sh PROGRAM.exe ARGUMENTS...`.
#
# Wine keeps its state in WINEPREFIX, by default build/windows/wine beside the programs; the
# first run creates it (about 12 s). `make test-windows` starts one wineserver for the whole
# run and a virtual screen for the window tests; run alone, this script works without either.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
mkdir -p "$WINEPREFIX"
exec "$wine" "$@"
