#!/usr/bin/env bash
# Builds the Debian package and the tarball (in the tree make package builds), unpacks the package
# into a temporary folder and checks that every file is where it belongs and that the programs
# run from there; lints it. As root, it then installs the package for real, but only in a
# throw-away copy of the system (throwaway-root.sh runs check-installed.sh): a Quillet installed
# on this system, its service's database and dpkg's own database are never touched. It shows as
# much too (check-host-kept.sh), and that this system's Quillet, if any, is as it was at the start.
#   check-package.sh REPOSITORY_ROOT PACKAGE_BUILD_FOLDER
set -euo pipefail
root="$(cd "$1" && pwd)"
dir="$2"
here="$root/tests/package"
# shellcheck source=common.sh
. "$here/common.sh"
work="$(mktemp -d)"
system_before="$(quillet_installation)"
cleanup() {
    stop_running
    rm -rf "$work"
}
trap cleanup EXIT

mapfile -t made < <("$root/scripts/make-package.sh" "$dir" | tail -n 2)
deb="${made[0]}"
tarball="${made[1]}"
[[ "$deb" == *.deb && "$tarball" == *.tar.gz ]] || fail "make-package.sh did not name both files: ${made[*]}"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")"
[ -n "$version" ] || fail "no project version in $dir/CMakeCache.txt"
echo "package: $deb, version $version"

# --- The package's files, unpacked ---
unpacked="$work/root"
dpkg-deb -x "$deb" "$unpacked"
expected=(
    usr/bin/quillet usr/bin/quillet-cli usr/bin/quillet-service
    usr/share/quillet/site/appcast.xml usr/share/quillet/site/pages/901.html
    lib/systemd/system/quillet-service.service
    usr/share/applications/app.quillet.Quillet.desktop
    usr/share/metainfo/app.quillet.Quillet.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/app.quillet.Quillet.svg
    usr/share/icons/hicolor/48x48/apps/app.quillet.Quillet.png
    usr/share/icons/hicolor/256x256/apps/app.quillet.Quillet.png
    usr/share/doc/quillet/copyright usr/share/doc/quillet/changelog.gz
    usr/share/man/man1/quillet.1.gz usr/share/man/man1/quillet-cli.1.gz
    usr/share/man/man1/quillet-service.1.gz
)
for file in "${expected[@]}"; do
    [ -f "$unpacked/$file" ] || fail "the package lacks $file"
done
for program in quillet quillet-cli quillet-service; do
    [ -x "$unpacked/usr/bin/$program" ] || fail "$program is not executable"
done
# Nothing but the programs, their data, the unit and the desktop files.
unexpected="$(cd "$unpacked" && find . -type f | sed 's|^\./||' |
    grep -v -E '^usr/bin/quillet(-cli|-service)?$|^usr/share/(quillet|applications|metainfo|icons/hicolor|doc/quillet)/|^usr/share/man/man1/quillet(-cli|-service)?\.1\.gz$|^lib/systemd/system/quillet-service\.service$' || true)"
[ -z "$unexpected" ] || fail "files that do not belong in the package: $unexpected"

# What the programs link to, what Qt loads at run time (the SVG plugins, the web view's helper
# program) and a font for the Chinese interface. Installing checks the whole of it.
control="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6widgets6 libqt6webenginewidgets6 libssl3 libsqlite3-0 libzip4 libicu72 \
    libqt6webenginecore6-bin libqt6svg6 "fonts-noto-cjk | fonts-wqy-microhei"; do
    [[ ", $control," == *", $package"[\ ,]* ]] || fail "Depends does not name $package: $control"
done

# --- The programs run from the unpacked root and say the one version ---
[ "$("$unpacked/usr/bin/quillet" --version)" = "quillet $version" ] || fail "quillet --version"
[ "$("$unpacked/usr/bin/quillet-cli" --version)" = "quillet-cli $version" ] || fail "quillet-cli --version"
[ "$("$unpacked/usr/bin/quillet-service" --version)" = "quillet-service $version" ] ||
    fail "quillet-service --version"

# The service finds its site beside its bin/ in the unpacked root.
unpacked_service=("$unpacked/usr/bin/quillet-service" --listen 127.0.0.1:0 --db "$work/unpacked.db")
serve_and_check unpacked_service "$work/unpacked.log"

# The tarball holds the same tree.
tar -tzf "$tarball" >"$work/tarball.list"
grep -q '/bin/quillet-service$' "$work/tarball.list" || fail "the tarball lacks the service"
grep -q '/share/applications/app.quillet.Quillet.desktop$' "$work/tarball.list" ||
    fail "the tarball lacks the desktop entry"

# --- Lint: no errors ---
if command -v lintian >/dev/null; then
    lint="$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)"
    echo "$lint"
    if grep -q '^E: ' <<<"$lint"; then
        fail "lintian found errors"
    fi
fi

# --- Installed for real, in throw-away roots only ---
in_throwaway_root() { # $1: what is checked; the rest: the check's command
    local what="$1" status=0
    shift
    "$here/throwaway-root.sh" "$@" || status=$?
    if [ "$status" -eq 77 ]; then
        echo "SKIPPED: $what (see above); this system was left alone"
    elif [ "$status" -ne 0 ]; then
        fail "$what"
    fi
}
in_throwaway_root "installing, checking and purging the package" \
    "$here/check-installed.sh" "$deb" "$work/installed"
in_throwaway_root "keeping an installed Quillet" "$here/check-host-kept.sh" "$deb" "$work/kept"
# The database itself is left out: a service running here may well write it meanwhile.
[ "$(quillet_installation)" = "$system_before" ] || fail "this system's Quillet is not as it was"
