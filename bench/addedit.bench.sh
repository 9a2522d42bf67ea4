#!/usr/bin/env bash
# The Add/Edit tab: the CRC of a cached 1 GiB file started from it, beside rvcli crc.
set -euo pipefail
big="$RV_BENCH_WORK/analysis/crc-1GiB.bin"
if [ ! -e "$big.done" ]; then
  mkdir -p "$(dirname "$big")"
  head -c $((1 << 30)) /dev/urandom > "$big" && touch "$big.done"
fi
cat "$big" > /dev/null  # into the page cache
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$RV_BENCH_BUILD/bench_addedit" "$RV_BENCH_BUILD/rvcli" "$big" "${RV_BENCH_RUNS:-5}" 2>/dev/null
