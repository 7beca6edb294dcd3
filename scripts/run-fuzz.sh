#!/usr/bin/env bash
# Builds the libFuzzer targets in BUILD_DIR (configured with clang and QUILLET_FUZZ=ON unless it
# already is) and runs each one for SECONDS (default 30) from a copy of its seeds in
# fuzz/corpus/<target>, so that the committed corpus never grows. Prints each target's final
# coverage; fails when any target crashes, leaks, hangs or a sanitizer reports anything. The
# inputs that failed are kept in BUILD_DIR/fuzz-artifacts, the whole output in BUILD_DIR/fuzz-logs.
#
# Usage: scripts/run-fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "Usage: $0 BUILD_DIR [SECONDS]" >&2
    exit 2
fi
build_dir=$1
seconds=${2:-30}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "SECONDS must be a whole number above 0, not '$seconds'" >&2
    exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
targets=(quillet-objc-fuzz quillet-envelope-fuzz)

if ! grep -qx 'QUILLET_FUZZ:BOOL=ON' "$build_dir/CMakeCache.txt" 2>/dev/null; then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    # Line tables make the sanitizers' reports name the source lines.
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON "${launcher[@]}"
fi
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
cmake --build "$build_dir" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Whatever the code under test writes to the home folder stays out of the real one.
mkdir "$work/home"
build_dir=$(cd "$build_dir" && pwd)
mkdir -p "$build_dir/fuzz-logs"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for target in "${targets[@]}"; do
    corpus="$work/corpus/$target"
    artifacts="$build_dir/fuzz-artifacts/$target/"
    log="$build_dir/fuzz-logs/$target.log"
    mkdir -p "$corpus" "$artifacts"
    cp -R "$root/fuzz/corpus/$target/." "$corpus/"
    options=(-max_total_time="$seconds" -timeout=20 -print_final_stats=1
        -artifact_prefix="$artifacts")
    if [ -f "$root/fuzz/corpus/$target.dict" ]; then
        options+=(-dict="$root/fuzz/corpus/$target.dict")
    fi
    status=0
    HOME="$work/home" "$build_dir/bin/$target" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    # A report that did not stop the run still fails it.
    if [ "$status" -eq 0 ] &&
        grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:|ERROR: libFuzzer' "$log"; then
        status=1
    fi
    # A run that stopped early has no final figures.
    coverage=$(grep -oE 'DONE +cov: [0-9]+ ft: [0-9]+ corp: [^ ]+' "$log" | tail -n 1 |
        sed -E 's/DONE +//' || true)
    if [ "$status" -eq 0 ]; then
        echo "$target: ${coverage:-no coverage reported}"
    else
        echo "$target: FAILED (exit status $status); the end of $log:" >&2
        tail -n 40 "$log" >&2
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]}; inputs in $build_dir/fuzz-artifacts" >&2
    exit 1
fi
