#!/usr/bin/env bash
# Builds the Debian package and the tarball, unpacks the package into a temporary root and
# checks that every file is where it belongs and that the programs run from there; lints it.
# As root, also installs it for real: the application passes its environment check from the
# installed place, the service unit's own command starts and stops, and purging leaves
# nothing behind.
set -euo pipefail
root="$(cd "$1" && pwd)"
dir="$2"
work="$(mktemp -d)"
installed=no
running=""
cleanup() {
    if [ -n "$running" ]; then
        kill "$running" 2>/dev/null || true
        wait "$running" 2>/dev/null || true
    fi
    if [ "$installed" = yes ]; then
        dpkg --purge quillet >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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
# program) and a font for the Chinese interface.
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
serve_and_check() { # $1: command line (array name); $2: log file
    local -n service_command=$1
    : >"$2"
    "${service_command[@]}" 2>"$2" &
    running=$!
    local port=""
    for _ in $(seq 100); do
        port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$2")"
        [ -n "$port" ] && break
        sleep 0.05
    done
    [ -n "$port" ] || fail "the service did not start: $(cat "$2")"
    curl -sf "http://127.0.0.1:$port/healthz" >/dev/null || fail "no health answer"
    curl -sf "http://127.0.0.1:$port/index.php/901.html" | grep -q '<title>' ||
        fail "no help page from the installed site"
    kill -TERM "$running"
    local status=0
    wait "$running" || status=$?
    running=""
    [ "$status" -eq 0 ] || fail "the service ended with $status after SIGTERM"
}
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

if [ "$(id -u)" -ne 0 ]; then
    echo "not root: the package was not installed"
    exit 0
fi

# --- Installed for real ---
dpkg --purge quillet >/dev/null 2>&1 || true
dpkg -i "$deb" >/dev/null || fail "dpkg -i failed"
installed=yes
files="$(dpkg -L quillet)"
command -v quillet-cli >/dev/null || fail "quillet-cli is not on the PATH"
check="$(HOME="$work" QT_QPA_PLATFORM=offscreen quillet --check-environment)" ||
    fail "the environment check did not pass: $check"
grep -q '\[ 通过 \]安装路径' <<<"$check" || fail "unexpected check report: $check"
[ -L /etc/systemd/system/multi-user.target.wants/quillet-service.service ] ||
    fail "the service was not enabled"

# The window starts offscreen and keeps running until told to stop.
mkdir -p "$work/home"
HOME="$work/home" QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 quillet \
    >"$work/app.log" 2>&1 &
running=$!
sleep 3
kill -0 "$running" 2>/dev/null || fail "the application ended on its own: $(cat "$work/app.log")"
kill -TERM "$running"
wait "$running" || true
running=""

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

dpkg --purge quillet >/dev/null || fail "dpkg --purge failed"
installed=no
while IFS= read -r path; do
    # Folders are shared with other packages (and /lib may be a link to one).
    [ -d "$path" ] && continue
    if [ -e "$path" ] || [ -L "$path" ]; then
        fail "$path is left after purging"
    fi
done <<<"$files"
! dpkg -s quillet >/dev/null 2>&1 || fail "dpkg still knows the package"
[ ! -e /var/lib/quillet-service ] || fail "the service's state is left after purging"
left="$(find /etc/systemd /var/lib/systemd -name 'quillet-service*' 2>/dev/null || true)"
[ -z "$left" ] || fail "the service's registration is left after purging: $left"
echo "installed, checked and purged"
