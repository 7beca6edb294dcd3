#!/usr/bin/env bash
# scripts/run-test-programs.sh, on stand-in programs that print what GoogleTest prints: it names
# each failed test, blames a crash on the test that was running, counts test cases over all
# runs, keeps the logs of failed runs only, and fails when any run did.
#   test-programs-test.sh REPOSITORY_ROOT
set -euo pipefail
runner="$1/scripts/run-test-programs.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A stand-in program: its name, then the lines it prints and its exit status.
program() {
    local name="$1" status="$2"
    shift 2
    {
        echo '#!/usr/bin/env bash'
        printf 'echo %q\n' "$@"
        echo "exit $status"
    } >"$work/$name"
    chmod +x "$work/$name"
}
program passing 0 '[ RUN      ] Good.One' '[       OK ] Good.One (0 ms)' '[  PASSED  ] 2 tests.'
program failing 1 '[ RUN      ] Bad.One' '[  FAILED  ] Bad.One (3 ms)' \
    '[ RUN      ] Rows/Bad.Two/1' '[  FAILED  ] Rows/Bad.Two/1, where GetParam() = 4 (1 ms)' \
    '[  PASSED  ] 1 test.' '[  FAILED  ] 2 tests, listed below:' '[  FAILED  ] Bad.One' \
    '[  FAILED  ] Rows/Bad.Two/1, where GetParam() = 4' ' 2 FAILED TESTS'
program crashing 1 '[ RUN      ] Fine.First' '[       OK ] Fine.First (0 ms)' \
    '[ RUN      ] Fine.Crashing' '==77==ERROR: AddressSanitizer: heap-use-after-free on 0x1' \
    '    #0 0x1 in quillet::Thing::use() core/Thing.cpp:12'
# Fails on its second run only, as a flaky test does.
cat >"$work/flaky" <<FLAKY
#!/usr/bin/env bash
count=\$((\$(cat "$work/count" 2>/dev/null || echo 0) + 1))
echo "\$count" >"$work/count"
echo '[ RUN      ] Shaky.Timing'
if [ "\$count" -eq 2 ]; then echo '[  FAILED  ] Shaky.Timing (9 ms)'; exit 1; fi
echo '[  PASSED  ] 1 test.'
FLAKY
chmod +x "$work/flaky"

status=0
out="$("$runner" --logs "$work/logs" "$work/passing" "$work/failing" "$work/crashing")" ||
    status=$?
[ "$status" -eq 1 ] || fail "a failed run should end with status 1, not $status: $out"
for expected in '    Bad.One' '    Rows/Bad.Two/1' '    Fine.Crashing (ended with status 1' \
    '    | ==77==ERROR: AddressSanitizer: heap-use-after-free' '3 passed, 3 failed'; do
    grep -qF -- "$expected" <<<"$out" || fail "the report lacks '$expected': $out"
done
grep -q 'passing' <<<"$out" && fail "the passing program is named: $out"
[ -f "$work/logs/failing.1.log" ] && [ -f "$work/logs/crashing.1.log" ] ||
    fail "the logs of the failed runs are missing"
[ -e "$work/logs/passing.1.log" ] && fail "the log of a passing run is kept"

out="$("$runner" --runs 3 --logs "$work/logs" "$work/flaky")" && fail "the flaky run passed: $out"
grep -qF 'FAIL flaky, run 2 of 3' <<<"$out" || fail "the second run is not named: $out"
grep -qF '2 passed, 1 failed' <<<"$out" || fail "wrong counts over three runs: $out"

"$runner" --runs 2 "$work/passing" >/dev/null || fail "passing programs should pass"
"$runner" --runs 0 "$work/passing" >/dev/null 2>&1 && fail "zero runs should be refused"
"$runner" "$work/missing" >/dev/null 2>&1 && fail "a missing program should be refused"
[ "$failures" -eq 0 ]
