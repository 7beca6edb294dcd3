#!/usr/bin/env bash
# Builds the Debian package and the tarball in their own build folder (default build/package):
# installed under /usr, with the application checking that it runs from there. Prints the
# paths of the two files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build/package}"
# Debian's hardening (stack protector, fortified functions, read-only relocations bound at
# start), without its -g and -O2: the build type chooses the optimisation and CPack strips.
hardening=()
if command -v dpkg-buildflags >/dev/null; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    # Asked in the clone: the flags map the current folder out of the objects
    # (-ffile-prefix-map=FOLDER=.), and one that followed the caller (the package test runs in
    # a folder of its own) would rebuild the whole tree at each switch between the two.
    build_flags() { (cd "$root" && dpkg-buildflags --get "$1"); }
    compile=()
    for flag in $(build_flags CPPFLAGS) $(build_flags CXXFLAGS); do
        [[ "$flag" == -g || "$flag" == -O2 ]] || compile+=("$flag")
    done
    hardening=(-DCMAKE_CXX_FLAGS="${compile[*]}" -DCMAKE_EXE_LINKER_FLAGS="$(build_flags LDFLAGS)")
fi
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DQUILLET_APP_PATH=/usr "${hardening[@]}" "${launcher[@]}" >/dev/null
# One compile a core: Ninja would start two more.
cmake --build "$dir" -j "$(nproc)"
rm -rf "$dir/packages"
(cd "$dir" && cpack >/dev/null)
ls "$dir"/packages/*.deb
ls "$dir"/packages/*.tar.gz
