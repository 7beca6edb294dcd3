#!/usr/bin/env bash
# Compiles every .m file of an Objective-C project on its own, syntax and semantics only, against
# the GNUstep Foundation headers, and prints clang's diagnostics on standard output: files in a
# fixed (byte) order, paths relative to the project, one line per diagnostic. Two copies of a
# project at different places therefore print the same text, and a rename that breaks the build
# shows up as a difference.
#
# usage: syntax-check.sh PROJECT_DIR
# exit:  0 the compiler ran to the end on every file, whether or not it found something
#        1 bad usage, or the compiler crashed on a file
#        2 clang, the GNUstep headers or the Objective-C runtime headers are missing
#
# CLANG, GNUSTEP_HEADERS and OBJC_HEADERS override where the tools and headers are looked for.
set -u

if [ $# -ne 1 ]; then
    echo "usage: $0 PROJECT_DIR" >&2
    exit 1
fi
if [ ! -d "$1" ]; then
    echo "$0: not a folder: $1" >&2
    exit 1
fi

clang=${CLANG:-clang}
if ! command -v "$clang" >/dev/null 2>&1; then
    echo "$0: $clang not found; install the clang package" >&2
    exit 2
fi
gnustep=${GNUSTEP_HEADERS:-/usr/include/GNUstep}
if [ ! -f "$gnustep/Foundation/Foundation.h" ]; then
    echo "$0: no GNUstep Foundation headers in $gnustep; install libgnustep-base-dev" >&2
    exit 2
fi
# clang ships no objc/objc.h of its own; GNUstep on Debian is built on gcc's runtime, whose
# headers live in gcc's private include folder.
objc=${OBJC_HEADERS:-$(gcc -print-file-name=include 2>/dev/null)}
if [ -z "$objc" ] || [ ! -f "$objc/objc/objc.h" ]; then
    echo "$0: no objc/objc.h (looked in '${objc}'); install gobjc" >&2
    exit 2
fi

shim=$(mktemp -d) || exit 1
trap 'rm -rf "$shim"' EXIT
# GNUstep's headers include objc/blocks_runtime.h whenever blocks are on, but only libobjc2 has
# it, not gcc's runtime. Declaring the two runtime functions is all a syntax check needs; the
# folder comes last, so a real header wins where there is one.
mkdir "$shim/objc"
cat >"$shim/objc/blocks_runtime.h" <<'EOF'
#pragma once
void *_Block_copy(const void *);
void _Block_release(const void *);
#define Block_copy(x) ((__typeof__(x))_Block_copy((const void *)(x)))
#define Block_release(x) _Block_release((const void *)(x))
EOF

cd "$1" || exit 1
root=$(pwd -P)
given=$(pwd)

# Subscripts and literals need a modern runtime ABI; blocks must be asked for off Apple
# platforms. -Wundeclared-selector catches an @selector(...) left with a name no method has.
flags=(
    -fsyntax-only -x objective-c -fblocks -fobjc-runtime=gnustep-1.9
    -fconstant-string-class=NSConstantString
    -DGNUSTEP -DGNUSTEP_BASE_LIBRARY=1 -DGNU_RUNTIME=1
    -Wall -Wundeclared-selector
    -ferror-limit=0 -fno-caret-diagnostics -fno-color-diagnostics
    -isystem "$gnustep" -idirafter "$objc" -idirafter "$shim" -I .
)

files=()
while IFS= read -r -d '' file; do
    files+=("${file#./}")
done < <(find . -type f -name '*.m' -print0 | LC_ALL=C sort -z)
if [ ${#files[@]} -eq 0 ]; then
    echo "$0: no .m files in $1" >&2
    exit 1
fi

crashed=0
for file in "${files[@]}"; do
    output=$("$clang" "${flags[@]}" "$file" 2>&1)
    status=$?
    # 0 is clean, 1 means errors were reported; anything else is the compiler failing.
    if [ $status -gt 1 ]; then
        echo "$0: $clang failed on $file (status $status)" >&2
        crashed=1
    fi
    if [ -n "$output" ]; then
        output=${output//"$root/"/}
        output=${output//"$given/"/}
        printf '%s\n' "$output"
    fi
done
exit $crashed
