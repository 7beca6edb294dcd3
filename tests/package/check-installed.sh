#!/usr/bin/env bash
# Installs the package for real, inside a throw-away root (throwaway-root.sh) and nowhere else:
# the application passes its environment check from the installed place and starts, everything
# it and the programs load at run time comes from the packages it depends on, a Chinese font is
# among them, the service unit's own command starts and stops, and purging leaves nothing.
#   check-installed.sh DEB WORK_FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=common.sh
. "$here/common.sh"
deb="$1"
work="$2"
trap stop_running EXIT

require_throwaway_root

mkdir -p "$work"
# A Quillet the copy holds from the system goes first, so this is a first installation.
dpkg --purge quillet >/dev/null 2>&1 || true
dpkg -i "$deb" >/dev/null || fail "dpkg -i failed"
files="$(dpkg -L quillet)"
command -v quillet-cli >/dev/null || fail "quillet-cli is not on the PATH"
check="$(HOME="$work" QT_QPA_PLATFORM=offscreen quillet --check-environment)" ||
    fail "the environment check did not pass: $check"
grep -q '\[ 通过 \]安装路径' <<<"$check" || fail "unexpected check report: $check"
[ -L /etc/systemd/system/multi-user.target.wants/quillet-service.service ] ||
    fail "the service was not enabled"

# The window starts offscreen and keeps running until told to stop; Qt names each plugin it loads.
mkdir -p "$work/home"
HOME="$work/home" QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QT_DEBUG_PLUGINS=1 \
    quillet >"$work/app.log" 2>&1 &
running=$!
sleep 3
kill -0 "$running" 2>/dev/null || fail "the application ended on its own: $(cat "$work/app.log")"
kill -TERM "$running"
wait "$running" || true
running=""

# --- What runs comes from the packages the package depends on ---
mapfile -t loaded < <(sed -n 's/.*"\(\/[^"]*\.so\)" loaded library.*/\1/p' "$work/app.log" | sort -u)
platform="$(printf '%s\n' "${loaded[@]}" | grep '/platforms/libqoffscreen\.so$')" ||
    fail "the application loaded no offscreen platform: $(cat "$work/app.log")"
plugins="$(dirname "$(dirname "$platform")")"
installed_file() { # $1: a pattern for dpkg-query -S
    dpkg-query -S "$1" 2>/dev/null | sed -n '/^diversion/d; 1s/.*: //p' | grep . ||
        fail "no installed package holds $1"
}
# What an offscreen start does not load: the desktop's platform, SVG images, the web view's
# helper program.
helper="$(installed_file '*/libexec/QtWebEngineProcess')"
elves=(/usr/bin/quillet /usr/bin/quillet-cli /usr/bin/quillet-service "${loaded[@]}"
    "$plugins/platforms/libqxcb.so" "$plugins/imageformats/libqsvg.so"
    "$plugins/iconengines/libqsvgicon.so" "$helper")
declare -A why=()
for elf in "${elves[@]}"; do
    [ -f "$elf" ] || fail "$elf is missing"
    why[$elf]="loaded at run time"
    libraries="$(ldd "$elf")" || fail "ldd $elf: $libraries"
    ! grep -q 'not found' <<<"$libraries" || fail "$elf lacks libraries: $libraries"
    for library in $(sed -n 's/.*=> \(\/[^ ]*\) .*/\1/p' <<<"$libraries"); do
        why[$library]="${why[$library]:-needed by $elf}"
    done
done
for data in qtwebengine_resources.pak qtwebengine_locales/zh-CN.pak; do
    path="$(installed_file "*/$data")"
    why[$path]="the web view's $data"
done
mapfile -t fonts < <(fc-list :lang=zh-cn file | sed 's/: *$//')
# Each file's package, looked up once for all (dpkg knows some by the path without links).
declare -A owner=()
queries=()
for path in "${!why[@]}" "${fonts[@]}"; do
    queries+=("$path" "$(realpath "$path")")
done
while IFS= read -r line; do
    owner[${line#*: }]="${line%%[:,]*}"
done < <(dpkg-query -S "${queries[@]}" 2>/dev/null | grep -v '^diversion' || true)
owner_of() {
    echo "${owner[$1]:-${owner[$(realpath "$1")]:-}}"
}
closure="$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances quillet | grep -v '^ ' | sort -u)"
for path in "${!why[@]}"; do
    package="$(owner_of "$path")"
    [ -n "$package" ] || fail "no package holds $path (${why[$path]})"
    grep -qx "$package" <<<"$closure" ||
        fail "$path (${why[$path]}) is $package's, which quillet does not depend on"
done
chinese=""
for font in "${fonts[@]}"; do
    if grep -qx "$(owner_of "$font")" <<<"$closure"; then
        chinese="$font"
        break
    fi
done
[ -n "$chinese" ] || fail "no Chinese font comes with the package's dependencies"
echo "${#why[@]} files the programs load come with quillet's dependencies, and $chinese"

# The unit's own command, with the state folder systemd would give it.
unit=/lib/systemd/system/quillet-service.service
exec_start="$(sed -n 's/^ExecStart=//p' "$unit")"
mkdir -p "$work/state"
exec_start="${exec_start//'${STATE_DIRECTORY}'/$work/state}"
read -r -a unit_command <<<"$exec_start"
[ "${unit_command[0]}" = /usr/bin/quillet-service ] || fail "the unit runs ${unit_command[0]}"
# On a free port, so that a service already running here does not stand in the way.
unit_command=("${unit_command[@]/#127.0.0.1:*/127.0.0.1:0}")
serve_and_check unit_command "$work/unit.log"
[ -f "$work/state/banks.db" ] || fail "the service made no database in its state folder"

# A database where systemd keeps it, for purging to remove.
mkdir -p -m 0700 /var/lib/private/quillet-service
ln -sfn private/quillet-service /var/lib/quillet-service
cp "$work/state/banks.db" /var/lib/quillet-service/
dpkg --purge quillet >/dev/null || fail "dpkg --purge failed"
while IFS= read -r path; do
    # Folders are shared with other packages (and /lib may be a link to one).
    [ -d "$path" ] && continue
    if [ -e "$path" ] || [ -L "$path" ]; then
        fail "$path is left after purging"
    fi
done <<<"$files"
! dpkg -s quillet >/dev/null 2>&1 || fail "dpkg still knows the package"
[ ! -e /var/lib/quillet-service ] && [ ! -L /var/lib/quillet-service ] &&
    [ ! -e /var/lib/private/quillet-service ] || fail "the service's state is left after purging"
left="$(find /etc/systemd /var/lib/systemd -name 'quillet-service*' 2>/dev/null || true)"
[ -z "$left" ] || fail "the service's registration is left after purging: $left"
echo "installed, checked and purged in a throw-away root"
