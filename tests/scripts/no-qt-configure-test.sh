#!/usr/bin/env bash
# With QUILLET_BUILD_APP=OFF the project configures where CMake may not find Qt at all, and
# offers core, cli, service and their tests, but nothing of the app.
#   no-qt-configure-test.sh REPOSITORY_ROOT CMAKE GENERATOR
set -euo pipefail
root="$1"
cmake="$2"
generator="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

no_qt=(-G "$generator" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON)
# The machine view without Qt is real: the app cannot configure in it.
if "$cmake" -S "$root" -B "$work/app" "${no_qt[@]}" >"$work/app.log" 2>&1; then
    fail "the app configured without Qt"
fi
if ! "$cmake" -S "$root" -B "$work/build" "${no_qt[@]}" -DQUILLET_BUILD_APP=OFF \
    >"$work/build.log" 2>&1; then
    fail "configuring without the app failed:"
    cat "$work/build.log"
    exit 1
fi
targets="$("$cmake" --build "$work/build" --target help)"
for target in quillet-cli quillet-service quillet_engine quillet_job core_tests cli_tests service_tests; do
    grep -qw -- "$target" <<<"$targets" || fail "no target $target"
done
for target in quillet quillet_app_lib app_tests quillet-render-icon quillet-icons; do
    grep -qE -- "(^|[ .])$target(:| |$)" <<<"$targets" && fail "the app's target $target is there"
done
tests="$(cd "$work/build" && ctest -N)"
grep -qE 'app_screenshot|quillet-desktop-files|package_install' <<<"$tests" &&
    fail "tests of the app are listed: $tests"
[ "$failures" -eq 0 ]
