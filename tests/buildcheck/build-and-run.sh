#!/usr/bin/env bash
# Builds every .m file of a Foundation program with gcc's Objective-C and GNUstep Base, then
# runs it with ARCHIVE as its argument and prints what it prints on standard output.
#
# usage: build-and-run.sh PROJECT_DIR ARCHIVE
# exit:  the program's exit status; 1 bad usage or the build failed (the compiler's messages on
#        standard error); 2 gcc's Objective-C or GNUstep Base is missing
set -u

if [ $# -ne 2 ] || [ ! -d "$1" ]; then
    echo "usage: $0 PROJECT_DIR ARCHIVE" >&2
    exit 1
fi
if ! command -v gnustep-config >/dev/null 2>&1; then
    echo "$0: gnustep-config not found; install libgnustep-base-dev" >&2
    exit 2
fi
out=$(mktemp -d) || exit 1
trap 'rm -rf "$out"' EXIT
mapfile -d '' sources < <(find "$1" -name '*.m' -print0 | sort -z)
# shellcheck disable=SC2046 # the flags are words on purpose
if ! gcc $(gnustep-config --objc-flags) -MMD -w -o "$out/program" "${sources[@]}" \
    $(gnustep-config --base-libs) >&2; then
    exit 1
fi
"$out/program" "$2"
