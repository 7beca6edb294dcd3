#!/usr/bin/env bash
# Renames the methods of a copy of the example project and prints the name list.
set -euo pipefail
cli="${1:-build/bin/quillet-cli}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/quillet-example-XXXXXX")"
cp -R "$root/examples/DemoShop" "$work/DemoShop"
echo "Example project copied to $work/DemoShop"
"$cli" methods "$work/DemoShop"
echo
"$cli" rename "$work/DemoShop" --words "$root/examples/words.txt"
echo
echo "== $work/DemoShop/MethodReplaceList.txt"
cat "$work/DemoShop/MethodReplaceList.txt"
