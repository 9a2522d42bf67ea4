#!/usr/bin/env bash
# What each rvcli call in a script costs before it does any work: start-up beside sqlite3, and a
# CRC of a cached 1 GiB file beside cat.
set -euo pipefail
work="$RV_BENCH_WORK/startup"
mkdir -p "$work"
catalogue="$work/10.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" --files 10 >/dev/null
big="$RV_BENCH_WORK/analysis/crc-1GiB.bin"  # shared with analysis.bench.sh
if [ ! -e "$big.done" ]; then
  mkdir -p "$(dirname "$big")" && head -c $((1 << 30)) /dev/urandom > "$big" && touch "$big.done"
fi
cat "$big" > /dev/null  # into the page cache
"$RV_BENCH_BUILD/bench_startup" "$RV_BENCH_BUILD/rvcli" "$(command -v sqlite3)" "$(command -v cat)" "$catalogue" "$big"

# rv's window, on an X server of its own (no window manager); reported, with nothing to compare.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
xvfb-run -a -s "-screen 0 1280x800x24" "$RV_BENCH_BUILD/bench_rv_window" "$RV_BENCH_BUILD/rv"
