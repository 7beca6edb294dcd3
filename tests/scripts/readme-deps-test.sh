#!/usr/bin/env bash
# The README's package list of each tier is the one scripts/install-deps.sh installs.
#   readme-deps-test.sh REPOSITORY_ROOT
set -euo pipefail
root="$1"
failures=0
for tier in build test package bench ci; do
    # The "- `tier`: a, b, c." item of the README, with its continuation lines.
    listed="$(awk -v item="- \`$tier\`: " '
        inside && (/^- / || /^$/) { inside = 0 }
        index($0, item) == 1 { inside = 1; $0 = substr($0, length(item) + 1) }
        inside { printf "%s ", $0 }' "$root/README.md" |
        tr -s ' ,' '\n' | sed 's/\.$//; /^$/d' | sort)"
    script="$("$root/scripts/install-deps.sh" --list "$tier" | sort)"
    if [ -z "$listed" ]; then
        echo "FAIL: the README lists no packages for the $tier tier"
        failures=$((failures + 1))
    elif [ "$listed" != "$script" ]; then
        echo "FAIL: the $tier tier differs (< README, > install-deps.sh):"
        diff <(echo "$listed") <(echo "$script") || true
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ]
