#!/usr/bin/env bash
# The desktop program with 100,000 files: opening, sorting, memory.
set -euo pipefail
catalogue="$RV_BENCH_WORK/100k.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" >/dev/null
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$RV_BENCH_BUILD/bench_window" "$catalogue" 2>/dev/null
