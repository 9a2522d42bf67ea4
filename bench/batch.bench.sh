#!/usr/bin/env bash
# One change (a category and a keyword) to 10,000 records of the 100k catalogue: written by the
# batch engine, then through the window's batch form with the event loop's longest pause.
set -euo pipefail
catalogue="$(bash "$(dirname "$0")/catalogues.sh" 100k)"
mkdir -p "$RV_BENCH_WORK/batch"
status=0
"$RV_BENCH_BUILD/bench_batch" "$RV_BENCH_WORK/batch" "$catalogue" || status=$?
"$RV_BENCH_BUILD/bench_batch_window" "$catalogue" "$RV_BENCH_WORK/batch" || status=$?
exit "$status"
