#!/usr/bin/env bash
# Runs GoogleTest programs whole, each RUNS times, and names every test that failed:
#   run-test-programs.sh [--runs RUNS] [--logs DIR] PROGRAM...
# Counts are of test cases over all runs. A program that ends without a result (a crash, a sanitizer's report) is blamed on the test it
# had started last. The output of each failed run is kept in DIR (default: a new temporary
# folder) and its first report lines are shown. Exits 1 when any run failed.
set -euo pipefail

usage() {
    echo "usage: $0 [--runs RUNS] [--logs DIR] PROGRAM..." >&2
    exit 2
}

runs=1
logs=""
while [ $# -gt 0 ]; do
    case "$1" in
    --runs)
        [ $# -ge 2 ] || usage
        runs="$2"
        shift 2
        ;;
    --logs)
        [ $# -ge 2 ] || usage
        logs="$2"
        shift 2
        ;;
    -*) usage ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || usage
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || usage
for program in "$@"; do
    if [ ! -x "$program" ]; then
        echo "$0: $program is not a program; build it first" >&2
        exit 1
    fi
done
if [ -z "$logs" ]; then
    logs="$(mktemp -d "${TMPDIR:-/tmp}/quillet-test-logs.XXXXXX")"
fi
mkdir -p "$logs"

# The tests that one run's output names as failed, or the one it was in when it ended.
failed_tests() {
    local output="$1" status="$2"
    local failed
    failed="$(sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$output" | grep -v '^[0-9]*$' |
        sort -u || true)"
    if [ -n "$failed" ]; then
        echo "$failed"
    elif [ "$status" -ne 0 ]; then
        local last
        last="$(sed -n 's/^\[ RUN      \] //p' "$output" | tail -n 1)"
        echo "${last:-(before any test)} (ended with status $status, no result)"
    fi
}

failures=0
passes=0
for program in "$@"; do
    name="$(basename "$program")"
    for run in $(seq "$runs"); do
        output="$logs/$name.$run.log"
        status=0
        "$program" --gtest_color=no >"$output" 2>&1 </dev/null || status=$?
        passed="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' "$output")"
        passes=$((passes + ${passed:-0}))
        if [ "$status" -eq 0 ]; then
            rm -f "$output"
            continue
        fi
        mapfile -t named < <(failed_tests "$output" "$status")
        failures=$((failures + ${#named[@]}))
        echo "FAIL $name, run $run of $runs (log: $output):"
        printf '    %s\n' "${named[@]}"
        # A sanitizer's report starts with its summary line and the top of the stack.
        grep -m 1 -A 8 -E '^==[0-9]+==ERROR|runtime error:|^SUMMARY: ' "$output" |
            sed 's/^/    | /' || true
    done
done
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
