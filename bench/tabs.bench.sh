#!/usr/bin/env bash
# The Search, Categories and File Types tabs with 100,000 files: searching beside rvcli, deleting.
set -euo pipefail
catalogue="$RV_BENCH_WORK/100k.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" >/dev/null
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$RV_BENCH_BUILD/bench_tabs" "$RV_BENCH_BUILD/rvcli" "$catalogue" "$RV_BENCH_WORK" "${RV_BENCH_RUNS:-5}" 2>/dev/null
