#!/usr/bin/env bash
# Installs the desktop component of a build into a scratch prefix and checks the tree as a
# software centre reads it:
#   check-installed-tree.sh CMAKE BUILD_DIR WORKDIR APP_ID SIZE...
# appstreamcli validate-tree must find the metainfo, its desktop entry and icon without errors
# or warnings, and every icon must be where the hicolor theme looks for it.
set -uo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 CMAKE BUILD_DIR WORKDIR APP_ID SIZE..." >&2
    exit 2
fi
cmake=$1
build_dir=$2
workdir=$3
app_id=$4
shift 4

root=$workdir/root
rm -rf "$root"
if ! "$cmake" --install "$build_dir" --component desktop --prefix "$root/usr" >/dev/null; then
    echo "FAIL: cmake --install of the desktop component"
    exit 1
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

output=$(appstreamcli validate-tree --no-net --no-color "$root" 2>&1)
status=$?
if [ $status -ne 0 ] || grep -Eq '^ *[EW]:' <<<"$output"; then
    fail "appstreamcli validate-tree (exit $status):"$'\n'"$output"
fi

share=$root/usr/share
expected=(
    "$share/applications/$app_id.desktop"
    "$share/metainfo/$app_id.metainfo.xml"
    "$share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in "$@"; do
    expected+=("$share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for path in "${expected[@]}"; do
    if [ ! -s "$path" ]; then
        fail "${path#"$root"} is not installed"
    fi
done

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "the installed tree holds ${#expected[@]} files and validates"
