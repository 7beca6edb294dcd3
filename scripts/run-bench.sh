#!/usr/bin/env bash
# Times a rename of a generated large project; see bench/BenchMain.cpp for what is measured.
set -euo pipefail
build="${1:-build}"
shift || true
"$build/bin/quillet-bench" "$@"
