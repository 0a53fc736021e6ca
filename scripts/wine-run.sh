#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest and GoogleTest's test discovery (the windows
# preset's CMAKE_CROSSCOMPILING_EMULATOR): `scripts/wine-run.sh PROGRAM.exe ARGUMENTS...`.
#
# Wine keeps its state in WINEPREFIX, by default build/windows/wine beside the programs. When
# no Wine server runs for it yet, this starts one that stays until 30 s after the last program
# (`make test-windows` keeps one for its whole run instead), and starts the prefix's
# background services, creating the prefix on the first run (about 12 s). Those services
# outlive the program, so they get no handle on its output: a caller reading the output to
# its end would wait for them otherwise.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or browser engine to install, no menu entries for the host's desktop.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
[ -x "$server" ] || server="$(command -v wineserver)"

mkdir -p "$WINEPREFIX"
# QUORVEL_WINE_PERSIST="" keeps the server until `wineserver -k`.
if "$server" "-p${QUORVEL_WINE_PERSIST-30}" </dev/null >/dev/null 2>&1; then
    "$wine" wineboot.exe </dev/null >/dev/null 2>&1
    # A program that crashes reports on standard error rather than in a dialog nobody sees.
    "$wine" reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1
fi
exec "$wine" "$@"
