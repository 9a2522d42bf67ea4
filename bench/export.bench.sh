#!/usr/bin/env bash
# rvcli export of 100,000 files as a web page, beside rvcli list --format csv of the same files:
# both open and load the catalogue, so the ratio is what making the page adds. Best of five runs
# each, taken in turns.
set -euo pipefail
catalogue="$(bash "$(dirname "$0")/catalogues.sh" 100k)"
rvcli="$RV_BENCH_BUILD/rvcli"
work="$RV_BENCH_WORK/export"
mkdir -p "$work"
export XDG_CONFIG_HOME="$work/config"

seconds() {  # the wall time of the command, in seconds
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 ))e-6"
}
best_page=999 best_csv=999
for _ in 1 2 3 4 5; do
  page=$(seconds "$rvcli" export "$catalogue" --format html -o "$work/files.html" 2>/dev/null)
  csv=$(seconds "$rvcli" list "$catalogue" --format csv)
  best_page=$(awk -v a="$best_page" -v b="$page" 'BEGIN { print (b < a ? b : a) }')
  best_csv=$(awk -v a="$best_csv" -v b="$csv" 'BEGIN { print (b < a ? b : a) }')
done
awk -v page="$best_page" -v csv="$best_csv" -v bytes="$(stat -c %s "$work/files.html")" 'BEGIN {
  ratio = page / csv
  printf "export --format html, 100k files (%.1f MB): %.3f s; list --format csv: %.3f s\n", bytes / 1e6, page, csv
  printf "%-60s %6.2fx  (bound 2x) %s\n", "html export / csv list", ratio, ratio <= 2 ? "ok" : "MISSED"
  exit ratio <= 2 ? 0 : 1
}'
