#!/usr/bin/env bash
# Installs the built application at the path it was built to check for (the QUILLET_APP_PATH
# cache entry) and prints that path.
set -euo pipefail
build="${1:-build}"
app="$(sed -n 's/^QUILLET_APP_PATH:PATH=//p' "$build/CMakeCache.txt")"
if [ -z "$app" ]; then
    echo "QUILLET_APP_PATH is not set in $build/CMakeCache.txt" >&2
    exit 1
fi
cmake --install "$build" --prefix "$app" --component app >/dev/null
echo "$app"
