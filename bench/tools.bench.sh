#!/usr/bin/env bash
# The bulk tools: Load Directory beside rhash, and the maintenance tools at 100,000 records.
# RV_BENCH_TREE names the real folder loaded whole (default /usr/share).
set -euo pipefail
work="$RV_BENCH_WORK/tools"
mkdir -p "$work"
source "$(dirname "$0")/tool-folders.sh"
catalogue="$RV_BENCH_WORK/100k.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" >/dev/null
"$RV_BENCH_BUILD/bench_tools" "$work" "$small" "$big" "$empty" "$catalogue" "${RV_BENCH_TREE:-/usr/share}" \
  "$smallDat" "$smallBin"
