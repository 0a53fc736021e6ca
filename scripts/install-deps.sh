#!/usr/bin/env bash
# Installs, through apt-get, whatever the build, the tests and the window need and this
# machine lacks. Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
    g++ cmake ninja-build make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev
    libspng-dev zlib1g-dev
    clang libclang-rt-14-dev
)
# Extra tools some targets want: `make bench` compares against two other converters,
# `make screenshot` runs the window on a virtual screen.
case "${1:-}" in
bench) packages+=(imagemagick python3-pil time) ;;
screenshot) packages+=(xvfb xauth imagemagick) ;;
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
