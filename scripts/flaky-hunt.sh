#!/usr/bin/env bash
# Hunts for tests that fail only sometimes: runs every test program that make test runs (not the
# heavy ones) RUNS times (default 10) while `stress` keeps both cores busy, and names every test
# that failed, with the log of each failed run:
#   flaky-hunt.sh BUILD_DIR [RUNS]
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [RUNS]" >&2
    exit 2
fi
build="$1"
runs="${2:-10}"
here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v stress >/dev/null; then
    echo "$0: stress is missing; scripts/install-deps.sh ci installs it" >&2
    exit 1
fi

# The GoogleTest programs behind CTest's quick tests, each named once.
mapfile -t programs < <(ctest --test-dir "$build" -N -V -LE heavy |
    sed -n 's/^[0-9]*: Test command: \([^ ]*\) .*--gtest_filter=.*/\1/p' | sort -u)
if [ ${#programs[@]} -eq 0 ]; then
    echo "$0: CTest lists no quick test in $build; build it with the tests first" >&2
    exit 1
fi

# In a process group of its own, so that its workers stop with it.
setsid stress --cpu 2 >/dev/null 2>&1 &
stressing=$!
trap 'kill -- "-$stressing" 2>/dev/null || true; wait "$stressing" 2>/dev/null || true' EXIT

# The app's tests need no display, as under CTest.
export QT_QPA_PLATFORM=offscreen
echo "Running ${#programs[@]} test programs $runs times each under stress --cpu 2"
"$here/run-test-programs.sh" --runs "$runs" --logs "$build/flaky-hunt" "${programs[@]}"
