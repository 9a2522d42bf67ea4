#!/usr/bin/env bash
# The Search, Categories and File Types tabs with 100,000 and 1,000,000 files side by side:
# searching beside rvcli, deleting.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
small="$(mktemp)" large="$(mktemp)"
trap 'rm -f "$small" "$large"' EXIT
status=0
"$RV_BENCH_BUILD/bench_tabs" "$RV_BENCH_BUILD/rvcli" "$(bash "$here/catalogues.sh" 100k)" "$RV_BENCH_WORK" "${RV_BENCH_RUNS:-5}" 2>/dev/null >"$small" || status=1
"$RV_BENCH_BUILD/bench_tabs" "$RV_BENCH_BUILD/rvcli" "$(bash "$here/catalogues.sh" 1m)" "$RV_BENCH_WORK" "${RV_BENCH_RUNS:-3}" 2>/dev/null >"$large" || status=1
bash "$here/side-by-side.sh" "$small" "$large"
exit $status
