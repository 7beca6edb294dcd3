#!/usr/bin/env bash
# Shows that check-desktop-files.sh fails on the faults it is there for:
#   check-rejects.sh CHECKER WORKDIR DESKTOP_FILE METAINFO_FILE ICON_DIR VERSION SIZE...
# Each case copies the built files into WORKDIR, breaks one thing, and expects the checker to
# fail with a line that names the fault. The untouched copy must pass, so that a failure in a
# case comes from its fault and not from the copying.
set -uo pipefail

if [ $# -lt 7 ]; then
    echo "usage: $0 CHECKER WORKDIR DESKTOP_FILE METAINFO_FILE ICON_DIR VERSION SIZE..." >&2
    exit 2
fi
checker=$1
workdir=$2
desktop=$3
metainfo=$4
icon_dir=$5
version=$6
shift 6
sizes=("$@")
smallest=${sizes[0]}
largest=${sizes[${#sizes[@]} - 1]}

desktop_name=$(basename "$desktop")
metainfo_name=$(basename "$metainfo")
app_id=$(basename "$desktop" .desktop)

failures=0

# Fresh copies of the built files in WORKDIR/NAME; prints that directory.
copy_files() {
    local dir=$workdir/$1
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$desktop" "$dir/$desktop_name"
    cp "$metainfo" "$dir/$metainfo_name"
    cp -R "$icon_dir" "$dir/icons"
    echo "$dir"
}

run_checker() {
    local dir=$1 checked_version=$2
    "$checker" "$dir/$desktop_name" "$dir/$metainfo_name" "$dir/icons" "$checked_version" \
        "${sizes[@]}" 2>&1
}

# expect_rejected NAME PATTERN [VERSION]: the checker must fail on WORKDIR/NAME, saying PATTERN.
expect_rejected() {
    local name=$1 pattern=$2 checked_version=${3:-$version}
    local output
    if output=$(run_checker "$workdir/$name" "$checked_version"); then
        echo "FAIL: $name: the check passed"
        failures=$((failures + 1))
    elif ! grep -Eq -- "$pattern" <<<"$output"; then
        echo "FAIL: $name: the check failed without saying /$pattern/:"
        echo "$output"
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
}

dir=$(copy_files intact)
if ! output=$(run_checker "$dir" "$version"); then
    echo "FAIL: the untouched copies do not pass:"
    echo "$output"
    exit 1
fi

# The project version moved on but the metainfo did not.
copy_files stale-release >/dev/null
expect_rejected stale-release "the metainfo's release is '$version', the project version" \
    "$version.1"

# A desktop entry that desktop-file-validate only hints about still fails.
dir=$(copy_files desktop-hint)
sed -i 's/^Categories=.*/Categories=Development;Utility;/' "$dir/$desktop_name"
expect_rejected desktop-hint "more than one main category"

dir=$(copy_files desktop-error)
sed -i '/^Type=/d' "$dir/$desktop_name"
expect_rejected desktop-error 'required key "Type"'

# An AppStream warning (a plain URL in the description) fails, not only errors.
dir=$(copy_files metainfo-warning)
sed -i 's|</description>|  <p>Read more at https://quillet.app/ about it.</p>\n  </description>|' \
    "$dir/$metainfo_name"
expect_rejected metainfo-warning "^W: .*description-has-plaintext-url"

dir=$(copy_files metainfo-error)
sed -i '/<summary/d' "$dir/$metainfo_name"
expect_rejected metainfo-error "^E: .*summary"

dir=$(copy_files wrong-launchable)
sed -i "s|>$app_id.desktop</launchable>|>quillet.desktop</launchable>|" "$dir/$metainfo_name"
expect_rejected wrong-launchable "does not launch $app_id.desktop"

dir=$(copy_files wrong-icon-name)
sed -i 's/^Icon=.*/Icon=quillet/' "$dir/$desktop_name"
expect_rejected wrong-icon-name "Icon=quillet"

# A PNG of another size in a size's place.
dir=$(copy_files wrong-size)
cp "$dir/icons/${smallest}x${smallest}/apps/$app_id.png" \
    "$dir/icons/${largest}x${largest}/apps/$app_id.png"
expect_rejected wrong-size "is ${smallest}x${smallest}, expected ${largest}x${largest}"

dir=$(copy_files missing-png)
rm "$dir/icons/${largest}x${largest}/apps/$app_id.png"
expect_rejected missing-png "${largest}x${largest}/apps/$app_id.png is missing"

dir=$(copy_files not-a-png)
echo '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 1 1"/>' \
    >"$dir/icons/${smallest}x${smallest}/apps/$app_id.png"
expect_rejected not-a-png "${smallest}x${smallest}/apps/$app_id.png is not a PNG"

# Colour type 2 (RGB, no alpha) written over the IHDR's colour type byte.
dir=$(copy_files no-alpha)
printf '\002' | dd of="$dir/icons/${smallest}x${smallest}/apps/$app_id.png" bs=1 seek=25 \
    conv=notrunc status=none
expect_rejected no-alpha "colour type 2"

if [ $failures -ne 0 ]; then
    echo "$failures fault(s) not caught"
    exit 1
fi
echo "every fault was caught"
