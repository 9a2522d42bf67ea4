#!/usr/bin/env bash
# Media facts: Load Directory of the 300-clip set (ten containers) keeping each clip's facts,
# beside the same load without them, in turns in one run.
set -euo pipefail
work="$RV_BENCH_WORK/facts"
mkdir -p "$work"
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/tests/analysis/make-clips.sh" "$work/clips"  # made once; kept while its ".done" mark stands
"$RV_BENCH_BUILD/bench_facts" "$work" "$work/clips/made"
