#!/usr/bin/env bash
# The desktop program with 100,000 and 1,000,000 files side by side: opening, sorting, memory.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
small="$(mktemp)" large="$(mktemp)"
trap 'rm -f "$small" "$large"' EXIT
"$RV_BENCH_BUILD/bench_window" "$(bash "$here/catalogues.sh" 100k)" 2>/dev/null >"$small"
"$RV_BENCH_BUILD/bench_window" "$(bash "$here/catalogues.sh" 1m)" 2>/dev/null >"$large"
bash "$here/side-by-side.sh" "$small" "$large"
