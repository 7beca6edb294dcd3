#!/usr/bin/env bash
# Checks the desktop integration files as built:
#   check-desktop-files.sh DESKTOP_FILE METAINFO_FILE ICON_DIR VERSION SIZE...
# The desktop entry must pass desktop-file-validate without a word, the metainfo must pass
# appstreamcli without errors or warnings, each PNG under ICON_DIR/<N>x<N>/apps/ must be an
# N by N PNG with an alpha channel, and the metainfo's release must be VERSION.
set -uo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 DESKTOP_FILE METAINFO_FILE ICON_DIR VERSION SIZE..." >&2
    exit 2
fi
desktop=$1
metainfo=$2
icon_dir=$3
version=$4
shift 4

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for tool in desktop-file-validate appstreamcli od; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"
        exit 1
    fi
done

# desktop-file-validate prints hints and warnings but exits 0 for them: any output fails.
if ! output=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$output" ]; then
    fail "desktop-file-validate $desktop:"$'\n'"$output"
fi

# appstreamcli passes files with warnings; its E: and W: lines are what fail here.
output=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1)
status=$?
if [ $status -ne 0 ] || grep -Eq '^[EW]:' <<<"$output"; then
    fail "appstreamcli validate $metainfo (exit $status):"$'\n'"$output"
fi

# The names that tie the files together: the desktop file is the metainfo's launchable, and
# its Icon= names the PNGs and the component.
app_id=$(basename "$desktop" .desktop)
if ! grep -q "<id>$app_id</id>" "$metainfo"; then
    fail "the metainfo's <id> is not $app_id"
fi
if ! grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"; then
    fail "the metainfo does not launch $app_id.desktop"
fi
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
if [ "$icon_name" != "$app_id" ]; then
    fail "Icon=$icon_name in $desktop, expected $app_id"
fi

# Every release line must name one version, and the first (newest) must be the project's.
release_version=$(sed -n 's/.*<release [^>]*version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
if [ "$release_version" != "$version" ]; then
    fail "the metainfo's release is '$release_version', the project version is '$version'"
fi

# Bytes of a PNG as unsigned decimals: od -A n -t u1 -j OFFSET -N COUNT.
png_bytes() {
    od -A n -t u1 -j "$2" -N "$3" "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}
be32() {
    echo $(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))
}

for size in "$@"; do
    png=$icon_dir/${size}x${size}/apps/$icon_name.png
    if [ ! -f "$png" ]; then
        fail "$png is missing"
        continue
    fi
    # The signature, then the IHDR chunk: length 13, "IHDR", width, height, depth, colour type.
    header=$(png_bytes "$png" 0 26)
    read -r -a b <<<"$header"
    if [ "${#b[@]}" -ne 26 ] ||
        [ "${b[*]:0:16}" != "137 80 78 71 13 10 26 10 0 0 0 13 73 72 68 82" ]; then
        fail "$png is not a PNG"
        continue
    fi
    width=$(be32 "${b[@]:16:4}")
    height=$(be32 "${b[@]:20:4}")
    if [ "$width" -ne "$size" ] || [ "$height" -ne "$size" ]; then
        fail "$png is ${width}x${height}, expected ${size}x${size}"
    fi
    # Colour type 6 is RGBA: the corners around the rounded tile must be able to be clear.
    if [ "${b[25]}" -ne 6 ]; then
        fail "$png has colour type ${b[25]}, expected 6 (RGBA)"
    fi
done

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "desktop entry, metainfo and $# icon sizes are sound"
