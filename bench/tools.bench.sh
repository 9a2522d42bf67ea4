#!/usr/bin/env bash
# The bulk tools: Load Directory beside rhash, and the maintenance tools at 100,000 records.
set -euo pipefail
work="$RV_BENCH_WORK/tools"
mkdir -p "$work"
small="$RV_BENCH_WORK/tools/4KiB"
big="$RV_BENCH_WORK/tools/1MiB"
if [ ! -e "$small/.done" ]; then
  rm -rf "$small" && mkdir -p "$small"
  head -c $((10000 * 4096)) /dev/urandom | (cd "$small" && split -b 4096 -a 5 -d - f)
  touch "$small/.done"
fi
if [ ! -e "$big/.done" ]; then
  rm -rf "$big" && mkdir -p "$big"
  head -c $((1000 << 20)) /dev/urandom | (cd "$big" && split -b 1M -a 4 -d - f)
  touch "$big/.done"
fi
catalogue="$RV_BENCH_WORK/100k.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" >/dev/null
"$RV_BENCH_BUILD/bench_tools" "$work" "$small" "$big" "$catalogue"
