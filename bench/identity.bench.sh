#!/usr/bin/env bash
# Files known by their contents: the hash chosen beside cat; a load with CRC and hash beside the same
# load with the CRC alone; verify of a cached 1 GiB file beside cat; duplicates of a million records;
# and a second load of an unchanged folder, which must open none of its files.
# Each timed figure is the best of several runs (RV_BENCH_RUNS, 5 by default), taken in turns with
# its reference so that a noisy moment hits both alike.
set -euo pipefail
work="$RV_BENCH_WORK/identity"
mkdir -p "$work"
source "$(dirname "$0")/tool-folders.sh"
runs=${RV_BENCH_RUNS:-5}
rvcli="$RV_BENCH_BUILD/rvcli"
export XDG_CONFIG_HOME="$work/config"  # the tools' logs, kept apart from the user's
status=0

gib="$work/1GiB.bin"
if [ ! -e "$gib.done" ]; then
  head -c $((1 << 30)) /dev/urandom > "$gib" && touch "$gib.done"
fi

# best[NAME] = the shortest time in microseconds of the function NAME over $runs turns.
declare -A best
best_of_turns() {
  local name start end
  for name in "$@"; do best[$name]=999999999999; done
  for _ in $(seq "$runs"); do
    for name in "$@"; do
      start=${EPOCHREALTIME/./}
      "$name" > /dev/null
      end=${EPOCHREALTIME/./}
      if (( end - start < best[$name] )); then best[$name]=$((end - start)); fi
    done
  done
}

# "LABEL: RATE GB/s; REFERENCE RATE GB/s; ratio R (bound >= B)"; a bound of - is none.
report() {  # label, our time (us), reference label, its time (us), bound
  awk -v label="$1" -v ours="$2" -v refLabel="$3" -v ref="$4" -v bound="$5" 'BEGIN {
    gib = 1073741.824; ratio = ref / ours
    within = (bound == "-" || ratio >= bound)
    printf "%s: %.1f GB/s; %s %.1f GB/s; ratio %.2f%s%s\n", label, gib / ours, refLabel, gib / ref, ratio,
      (bound == "-" ? "" : " (bound >= " bound ")"), (within ? "" : "  BELOW BOUND")
    exit (within ? 0 : 1)
  }' || status=1
}

# The hash: each read on one core as cat reads, so that what differs is the hash's own cost.
cat "$gib" > /dev/null  # into the page cache
cat_big() { cat "$gib"; }
xxh3_big() { "$RV_BENCH_BUILD/bench/bench_hash" xxh3 "$gib"; }
sha256_big() { "$RV_BENCH_BUILD/bench/bench_hash" sha256 "$gib"; }
best_of_turns cat_big xxh3_big sha256_big
report "XXH3-128 of a cached 1 GiB file, one core" "${best[xxh3_big]}" "cat" "${best[cat_big]}" -
report "SHA-256 of a cached 1 GiB file, one core" "${best[sha256_big]}" "cat" "${best[cat_big]}" -

# Verify reads the file again, its CRC and hash in one read.
catalogue="$work/verify.rvd"
rm -f "$catalogue"
"$rvcli" new "$catalogue" > /dev/null
"$rvcli" load "$catalogue" "$work" "1GiB.bin" --crc > /dev/null
verify_big() { "$rvcli" verify "$catalogue"; }
best_of_turns cat_big verify_big
report "rvcli verify of a cached 1 GiB file" "${best[verify_big]}" "cat" "${best[cat_big]}" 0.9

# The load: $big holds 1,000 files of 1 MiB.
"$RV_BENCH_BUILD/bench_identity" "$work" "$big" || status=1

# Duplicates of a million records, each with a hash, a tenth of them copies.
million="$RV_BENCH_WORK/1m-hashes.rvd"
[ -e "$million" ] || "$RV_BENCH_BUILD/rv_make_catalogue" "$million" --files 1000000 --hashes > /dev/null
duplicates() { "$rvcli" duplicates "$million" 2> /dev/null; }
best_of_turns duplicates
awk -v us="${best[duplicates]}" 'BEGIN {
  printf "rvcli duplicates of 1,000,000 records with hashes: %.2f s (bound <= 2 s)%s\n", us / 1e6, (us <= 2e6 ? "" : "  MISSED")
  exit (us <= 2e6 ? 0 : 1)
}' || status=1

# A second load of an unchanged folder ($small: 10,000 files of 4 KiB) opens none of its files:
# they were hashed by the first, and their size, time and inode say they are as they were.
catalogue="$work/again.rvd"
rm -f "$catalogue"
"$rvcli" new "$catalogue" > /dev/null
opened() {  # the files of $small a load opens, directories aside
  strace -f -qq -e trace=open,openat,openat2 -e status=successful -o "$work/strace.log" \
    "$rvcli" load "$catalogue" "$small" "*" --crc > /dev/null
  grep -F "\"$small/" "$work/strace.log" | grep -vc O_DIRECTORY || true
}
first=$(opened)
second=$(opened)
echo "Second load of an unchanged folder of 10,000 files: $second files opened (the first load opened $first; bound 0)$( [ "$second" -eq 0 ] || echo '  MISSED')"
[ "$second" -eq 0 ] || status=1
exit $status
