#!/usr/bin/env bash
# Builds the deb preset (the two programs, with Debian's hardening flags), installs it into a
# staging folder under /usr, and packs that as dist/quorvel_VERSION-1_ARCH.deb: the programs
# stripped, the copyright file, a changelog and lintian's overrides added, the dependencies read
# from the programs by dpkg-shlibdeps.
#   JOBS=N WERROR=ON|OFF scripts/make-deb.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
umask 022
revision=1

# Debian's flags less -g and -O2 (the preset sets the optimisation; the programs are stripped).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags=()
for flag in $(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS); do
    [[ $flag == -g || $flag == -O2 ]] || cxxflags+=("$flag")
done
cmake --preset deb -DQUORVEL_WERROR="${WERROR:-OFF}" -DCMAKE_CXX_FLAGS="${cxxflags[*]}" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS) -Wl,--as-needed" >/dev/null
cmake --build --preset deb -j "${JOBS:-$(nproc)}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/deb/CMakeCache.txt)
# The metadata's newest release is this version; its date dates the changelog entry.
metainfo=packaging/io.github.quorvel.quorvel.metainfo.xml
release=$(grep -m1 -o '<release version="[^"]*" date="[^"]*"' "$metainfo")
if [[ $release != "<release version=\"$version\" "* ]]; then
    echo "make-deb.sh: the newest release in $metainfo is not $version: $release" >&2
    exit 1
fi
date=${release##*date=\"}
date=${date%\"}
SOURCE_DATE_EPOCH=$(date -u -d "$date" +%s)
export SOURCE_DATE_EPOCH

# The staging folder, laid out as a package's files are before packing: dpkg-shlibdeps finds
# the package by its DEBIAN folder, and takes an empty debian/control for the source package.
stage=$root/build/deb/debian/quorvel
rm -rf "$stage"
mkdir -p "$stage/DEBIAN"
touch build/deb/debian/control
DESTDIR=$stage cmake --install build/deb >/dev/null
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage"/usr/bin/*

doc=$stage/usr/share/doc/quorvel
install -D -m 644 packaging/copyright "$doc/copyright"
install -D -m 644 packaging/lintian-overrides "$stage/usr/share/lintian/overrides/quorvel"
maintainer=$(sed -n 's/^Maintainer: //p' packaging/control.in)
printf '%s\n' "quorvel ($version-$revision) unstable; urgency=medium" "" \
    "  * quorvel $version, built from its own sources." "" \
    " -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")" | gzip -9n >"$doc/changelog.Debian.gz"

depends=$(cd build/deb && dpkg-shlibdeps -O debian/quorvel/usr/bin/*)
depends=${depends#shlibs:Depends=}

arch=$(dpkg --print-architecture)
sed -e "s/@VERSION@/$version-$revision/" -e "s/@ARCH@/$arch/" -e "s/@DEPENDS@/$depends/" \
    -e "s/@SIZE@/$(du -sk "$stage/usr" | cut -f1)/" packaging/control.in >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

mkdir -p dist
deb=dist/quorvel_$version-${revision}_$arch.deb
dpkg-deb --root-owner-group --build "$stage" "$deb" >/dev/null
echo "$deb"
