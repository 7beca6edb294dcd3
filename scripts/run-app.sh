#!/usr/bin/env bash
# Installs the application, starts the local word bank service in the background and opens the
# installed Quillet window on it; the service stops when the application ends. Without a
# display, runs the command line example instead.
set -euo pipefail
build="${1:-build}"
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$(uname -s)" != Darwin ]; then
    echo "No display: running the command line example instead of the window."
    exec "$root/scripts/run-example.sh" "$build/bin/quillet-cli"
fi
app="$("$root/scripts/install-app.sh" "$build")"
data="${XDG_DATA_HOME:-$HOME/.local/share}/Quillet"
mkdir -p "$data"
"$build/bin/quillet-service" --db "$data/service.db" 2>>"$data/service.log" &
service=$!
trap 'kill "$service" 2>/dev/null || true; wait "$service" 2>/dev/null || true' EXIT
# The web view's sandbox refuses to run as root.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
"$app/bin/quillet"
