#!/usr/bin/env bash
# Builds the Debian package and the tarball in their own build folder (default build/package):
# installed under /usr, with the application checking that it runs from there. Prints the
# paths of the two files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build/package}"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DQUILLET_APP_PATH=/usr >/dev/null
cmake --build "$dir"
rm -rf "$dir/packages"
(cd "$dir" && cpack >/dev/null)
ls "$dir"/packages/*.deb
ls "$dir"/packages/*.tar.gz
