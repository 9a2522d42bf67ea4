#!/usr/bin/env bash
# The record sets at 100,000 and at 1,000,000 files (3,000,000 keyword links): load, memory,
# look-ups, rvcli list as CSV, and inserts with keywords.
set -euo pipefail
catalogues=()
for files in 100000 1000000; do
  catalogue="$RV_BENCH_WORK/$((files / 1000))k.rvd"
  [ "$files" = 1000000 ] && catalogue="$RV_BENCH_WORK/1m.rvd"
  [ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" --files "$files" --keywords-per-file 3 --distinct-keywords 5000
  catalogues+=("$catalogue")
done
"$RV_BENCH_BUILD/bench_model" "$RV_BENCH_WORK" "$RV_BENCH_BUILD/rvcli" "${catalogues[@]}"
