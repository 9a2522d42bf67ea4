#!/usr/bin/env bash
# The window's online state of a drive after a mount or an unmount, against the bound of 1 s.
set -euo pipefail
work="$RV_BENCH_WORK/drives-window"
mkdir -p "$work"
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$RV_BENCH_BUILD/bench_drives_window" "$work" 100000 "${RV_BENCH_RUNS:-7}" 2>/dev/null
