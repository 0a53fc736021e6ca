#!/usr/bin/env bash
# Installs, through apt-get, whatever the build, the tests and the window need and this
# machine lacks. Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev
    libspng-dev zlib1g-dev nlohmann-json3-dev
    clang libclang-rt-14-dev
)
# The Windows build needs the cross compiler and GoogleTest's sources (built with it), not
# the Linux toolchain and libraries.
windows=(
    cmake ninja-build make
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest nlohmann-json3-dev
)
# Extra tools some targets want: `make bench` compares against two other converters,
# `make screenshot` runs the window on a virtual screen, `make test-windows` runs the Windows
# programs under Wine on one, `make deb` packs with dpkg's tools and `make test-deb` checks the
# package with lintian, appstreamcli, desktop-file-validate and man.
case "${1:-}" in
bench) packages+=(imagemagick python3-pil time) ;;
deb) packages+=(dpkg-dev lintian appstream desktop-file-utils man-db) ;;
screenshot) packages+=(xvfb xauth imagemagick) ;;
windows) packages=("${windows[@]}") ;;
test-windows) packages=("${windows[@]}" wine64 xvfb xauth) ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
