#!/usr/bin/env bash
# Runs clang-tidy, as the repository's .clang-tidy sets it up, on the C++ sources and headers
# changed between BASE and HEAD, with the compile flags of BUILD_DIR/compile_commands.json; each
# file is checked as a main file, so a finding is reported once, where it is. Fails on any finding.
#   check-tidy.sh BUILD_DIR [BASE]
# BASE defaults to HEAD~20 (the first commit in a shorter history): a clean clone of main has no
# branch to compare with, and twenty commits reach back past what was merged since the last run
# of CI. BASE=--all checks every source.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 BUILD_DIR [BASE|--all]" >&2
    exit 2
fi
build="$(cd "$1" && pwd)"
base="${2:-}"
root="$(cd "$(dirname "$0")/.." && pwd)"
tidy="${CLANG_TIDY:-clang-tidy-14}"
jobs="${JOBS:-2}"
if ! command -v "$tidy" >/dev/null; then
    echo "$0: $tidy is missing; scripts/install-deps.sh ci installs it" >&2
    exit 1
fi
if [ ! -f "$build/compile_commands.json" ]; then
    echo "$0: no compile_commands.json in $build; configure it first" >&2
    exit 1
fi
cd "$root"

# Our C++ code; the build check's fixtures are Objective-C.
dirs=(core cli service app tests bench fuzz)
select_sources() {
    grep -E '\.(cpp|h)$' | grep -E "^($(IFS='|'; echo "${dirs[*]}"))/" |
        grep -v -e '^tests/buildcheck/FoundationShop/' -e '^tests/buildcheck/GadgetShop/' || true
}
if [ "$base" = --all ]; then
    mapfile -t files < <(git ls-files -- "${dirs[@]}" | select_sources)
    what="every source"
else
    if [ -z "$base" ]; then
        depth="$(git rev-list --count HEAD)"
        if [ "$depth" -gt 20 ]; then
            base="HEAD~20"
        else
            # The empty tree: every file of the first commit counts as changed.
            base="$(git hash-object -t tree /dev/null)"
        fi
    fi
    mapfile -t files < <(git diff --name-only --diff-filter=d "$base" HEAD | select_sources)
    what="the sources changed since $base"
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "clang-tidy: no C++ source changed since $base"
    exit 0
fi

# A source outside this build (the app's in a build without it, say) is left out.
checkable=()
for file in "${files[@]}"; do
    if [[ "$file" == *.h ]] || grep -qF "\"file\": \"$root/$file\"" "$build/compile_commands.json"; then
        checkable+=("$file")
    else
        echo "clang-tidy: $file is not built in $build; not checked"
    fi
done
echo "clang-tidy on ${#checkable[@]} files, $what"

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
# One report per file, so that parallel runs do not mix their lines. Headers are read as C++
# headers; -quiet leaves out the counts of suppressed warnings.
tidy_one() { # FILE OUT_DIR
    local args=(-p "$build" -quiet)
    if [[ "$1" == *.h ]]; then
        args+=(--extra-arg-before=-xc++-header)
    fi
    "$tidy" "${args[@]}" "$1" >"$2/$(tr / _ <<<"$1").log" 2>&1 || true
}
export -f tidy_one
export tidy build
printf '%s\0' "${checkable[@]}" | xargs -0 -P "$jobs" -I{} bash -c 'tidy_one "$@"' _ {} "$out"
report="$out/all.txt"
cat "$out"/*.log >"$report"
findings="$out/findings.txt"
grep -E '^[^ ].*: (warning|error): ' "$report" | sort -u >"$findings" || true
count="$(wc -l <"$findings")"
if [ "$count" -eq 0 ]; then
    echo "clang-tidy: no findings"
    exit 0
fi
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$report"
echo
echo "clang-tidy: $count findings; by check:"
sed -n 's/.*\[\([^],]*\)[],].*/\1/p' "$findings" | sort | uniq -c | sort -rn
exit 1
