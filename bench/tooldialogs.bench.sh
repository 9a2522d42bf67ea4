#!/usr/bin/env bash
# The Tools menu's Load Directory dialog beside rvcli load, and its Cancel.
set -euo pipefail
source "$(dirname "$0")/tool-folders.sh"
work="$RV_BENCH_WORK/tool-dialogs"
mkdir -p "$work"
cat "$small"/f* "$big"/f* > /dev/null  # into the page cache
export XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$RV_BENCH_BUILD/bench_tool_dialogs" "$RV_BENCH_BUILD/rvcli" "$work" "$small" "$big" "${RV_BENCH_RUNS:-5}" 2>/dev/null
