#!/usr/bin/env bash
# One change (a category and a keyword) to 10,000 records of the 100k catalogue.
set -euo pipefail
catalogue="$(bash "$(dirname "$0")/catalogues.sh" 100k)"
mkdir -p "$RV_BENCH_WORK/batch"
"$RV_BENCH_BUILD/bench_batch" "$RV_BENCH_WORK/batch" "$catalogue"
