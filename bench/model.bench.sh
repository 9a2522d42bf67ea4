#!/usr/bin/env bash
# The record sets at 100,000 files: load, look-ups, memory, inserts with keywords.
set -euo pipefail
catalogue="$RV_BENCH_WORK/100k.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" --files 100000 --keywords-per-file 3 --distinct-keywords 5000
"$RV_BENCH_BUILD/bench_model" "$catalogue" "$RV_BENCH_WORK"
