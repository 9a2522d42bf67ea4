#!/usr/bin/env bash
# Prints the path of the benchmark catalogue named 100k or 1m, making it first when it is missing.
set -euo pipefail
case "$1" in
  100k) files=100000 ;;
  1m) files=1000000 ;;
  *) echo "catalogues.sh: 100k or 1m" >&2; exit 2 ;;
esac
catalogue="$RV_BENCH_WORK/$1.rvd"
[ -e "$catalogue" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$catalogue" --files "$files" >/dev/null
echo "$catalogue"
