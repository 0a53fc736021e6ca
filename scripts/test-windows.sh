#!/usr/bin/env bash
# Runs the Windows test suites (build/windows, cross-built) under Wine on a virtual screen:
# one Wine server for the whole run, the Wine prefix inside the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

export WINEPREFIX="$PWD/build/windows/wine"
export WINEDEBUG=-all
server=/usr/lib/wine/wineserver
[ -x "$server" ] || server="$(command -v wineserver)"

# The first program started creates the prefix (about 12 s), its background services and a
# server that stays until it is stopped at the end.
trap '"$server" -k 2>/dev/null || true' EXIT
QUORVEL_WINE_PERSIST="" scripts/wine-run.sh build/windows/cli/quorvel-cli.exe --version >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -j "${JOBS:-$(nproc)}"
