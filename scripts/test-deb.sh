#!/usr/bin/env bash
# Checks the package that scripts/make-deb.sh wrote, without installing it: lintian, the
# AppStream metadata, the desktop entry, both manual pages, and its files against
# packaging/expected-files.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/deb/CMakeCache.txt)
deb=dist/quorvel_$version-1_$(dpkg --print-architecture).deb
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $what" >&2
        failed=$((failed + 1))
    fi
}

# man writes its warnings to standard error; any at all fails.
man_page_is_clean() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
    [[ -z $warnings ]] || { echo "$warnings" >&2 && return 1; }
}

files_are_expected() {
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | LC_ALL=C sort |
        diff -u packaging/expected-files.txt - >&2
}

check "lintian" lintian --fail-on error,warning -I "$deb"
check "AppStream metadata" appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.xml
check "desktop entry" desktop-file-validate "$tree"/usr/share/applications/*.desktop
check "quorvel.1" man_page_is_clean "$tree/usr/share/man/man1/quorvel.1.gz"
check "quorvel-cli.1" man_page_is_clean "$tree/usr/share/man/man1/quorvel-cli.1.gz"
check "the package's files (packaging/expected-files.txt)" files_are_expected
echo "deb: $passed passed, $failed failed"
((failed == 0))
