#!/usr/bin/env bash
# Refresh's plan of an unchanged tree of 100,000 files beside find printing size, time and inode of
# each, and the bytes the plan reads once 1% of the files changed, moved or came new.
# RV_REFRESH_FILES sets the number of files (default 100000).
set -euo pipefail
files="${RV_REFRESH_FILES:-100000}"
work="$RV_BENCH_WORK/refresh"
tree="$work/tree"
catalogue="$work/refresh.rvd"
rvcli="$RV_BENCH_BUILD/rvcli"
export XDG_CONFIG_HOME="$work/config"
rm -rf "$work"
mkdir -p "$tree"
for ((folder = 0; folder < files / 1000; ++folder)); do
  mkdir -p "$tree/f$folder"
  (cd "$tree/f$folder" && for ((i = 0; i < 1000; ++i)); do printf '%s %s\n' "$folder" "$i" > "film$i.avi"; done)
done
"$rvcli" new "$catalogue" >/dev/null
"$rvcli" type "$catalogue" save Video --ext avi >/dev/null
"$rvcli" load "$catalogue" "$tree" "*.avi" --recursive --crc >/dev/null

seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); echo "$end - $start" | bc; }
"$RV_BENCH_BUILD/bench_refresh" "$catalogue" "$tree"
# The whole command as a nightly job runs it, opening the catalogue first.
printf 'rvcli refresh, with the catalogue opened: %.3f s\n' "$(seconds "$rvcli" refresh "$catalogue" "$tree")"

# 1%: a third renamed, a third edited, a third new.
changed=$((files / 100 / 3))
expected=0
for ((i = 0; i < changed; ++i)); do
  mv "$tree/f$((i % (files / 1000)))/film$i.avi" "$tree/f$((i % (files / 1000)))/renamed$i.avi"
  edited="$tree/f$(((i + 1) % (files / 1000)))/film$((i + 500)).avi"
  printf 'edited\n' >> "$edited"
  printf 'new %s\n' "$i" > "$tree/new$i.avi"
  expected=$((expected + $(stat -c %s "$edited") + $(stat -c %s "$tree/new$i.avi")))
done
read_bytes=$("$RV_BENCH_BUILD/bench_refresh" "$catalogue" "$tree" --bytes)
total=$(du -sb --apparent-size "$tree" | cut -f1)
verdict=$([ "$read_bytes" -le "$expected" ] && echo ok || echo MISSED)
printf 'plan with 1%% changed: %d bytes read of %d in the tree; the edited and new files hold %d %s\n' \
  "$read_bytes" "$total" "$expected" "$verdict"
