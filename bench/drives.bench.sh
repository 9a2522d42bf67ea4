#!/usr/bin/env bash
# Drives at scale: opening 1,000,000 records linked to 20 drives, and re-pointing a drive of
# 100,000 records.
set -euo pipefail
linked() {  # files, drives
  local catalogue="$RV_BENCH_WORK/drives-$1-$2.rvd"
  [ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" --files "$1" --drives "$2" >/dev/null
  echo "$catalogue"
}
"$RV_BENCH_BUILD/bench_drives" "$(linked 1000000 20)" "$(linked 100000 1)"
