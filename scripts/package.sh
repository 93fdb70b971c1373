#!/usr/bin/env bash
# Builds the Debian package of Vesk: the program with its desktop entry,
# metainfo, icons and documents under /usr, and the packages it needs declared
# (see cmake/VeskPackage.cmake). The .deb goes to build/package/ (or
# $VESK_BUILD_DIR/package/); install it with `sudo apt install ./vesk_*.deb`.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VESK_BUILD_DIR:-$root/build}"

"$root/scripts/build.sh" --target vesk
rm -f "$build"/package/*.deb
(cd "$build" && cpack -G DEB -B "$build/package")
ls "$build"/package/*.deb
