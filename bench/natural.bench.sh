#!/usr/bin/env bash
# The list's File Name column at 1,000,000 rows: natural order beside today's order.
set -euo pipefail
catalogue="$(bash "$(dirname "$0")/catalogues.sh" 1m)"
"$RV_BENCH_BUILD/bench_natural" "$catalogue"
