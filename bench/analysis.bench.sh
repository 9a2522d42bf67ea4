#!/usr/bin/env bash
# File analysis: CRC-32 throughput beside cat and rhash on the same files, and the media probe rate.
# Each figure is the best of several runs (RV_BENCH_RUNS, 5 by default), taken in turns with its
# reference so that a noisy moment hits both alike.
set -euo pipefail
bin="$RV_BENCH_BUILD/bench"
work="$RV_BENCH_WORK/analysis"
mkdir -p "$work"
runs=${RV_BENCH_RUNS:-5}
status=0

# Test data, made once and kept in the scratch folder; a ".done" mark tells a finished set.
big="$work/crc-1GiB.bin"
small="$work/crc-4KiB"
media="$work/media"
if [ ! -e "$big.done" ]; then
  head -c $((1 << 30)) /dev/urandom > "$big" && touch "$big.done"
fi
if [ ! -e "$small/.done" ]; then
  rm -rf "$small" && mkdir -p "$small"
  head -c $((10000 * 4096)) /dev/urandom | (cd "$small" && split -b 4096 -a 5 -d - f)
  touch "$small/.done"
fi
if [ ! -e "$media/.done" ]; then
  rm -rf "$media" && mkdir -p "$media/made" "$media/files"
  (cd "$media/made" && ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i sine=frequency=440:sample_rate=22050:duration=1 -f lavfi -i testsrc=size=160x120:rate=25:duration=1 \
    -map 0:a -c:a pcm_s16le s.wav -map 0:a -c:a libmp3lame s.mp3 \
    -map 1:v -map 0:a -c:v mpeg4 -vtag DIVX -c:a libmp3lame s.avi \
    -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a aac s.mp4 \
    -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a libopus s.mkv \
    -map 0:a -c:a flac s.flac -map 0:a -c:a libvorbis s.ogg)
  made=("$media"/made/s.*)
  for i in $(seq 0 999); do
    source=${made[$((i % ${#made[@]}))]}
    cp "$source" "$media/files/m$i.${source##*.}"
  done
  touch "$media/.done"
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

# Prints "LABEL: RATE UNIT; REFERENCE RATE UNIT; ratio R (bound >= B)" and notes a ratio below its
# bound. Rates are work / time, so the ratio is the reference's time over ours.
report() {  # label, our time (us), reference label, its time (us), work per us in the unit, unit, bound
  awk -v label="$1" -v ours="$2" -v refLabel="$3" -v ref="$4" -v work="$5" -v unit="$6" -v bound="$7" 'BEGIN {
    ratio = ref / ours
    within = (ratio >= bound)
    format = (unit == "GB/s") ? "%.1f" : "%.0f"
    printf "%s: " format " %s; %s " format " %s; ratio %.2f (bound >= %s)%s\n", label, work / ours, unit,
      refLabel, work / ref, unit, ratio, bound, (within ? "" : "  BELOW BOUND")
    exit (within ? 0 : 1)
  }' || status=1
}
gib_in_gbps_us=1073741.824  # 1 GiB over a time in microseconds, in GB/s

ours_big() { "$bin/bench_crc" "$big"; }
cat_big() { cat "$big"; }
rhash_big() { rhash --crc32 "$big"; }
cat "$big" > /dev/null  # into the page cache
best_of_turns ours_big cat_big rhash_big
report "CRC 1 GiB cached" "${best[ours_big]}" "cat" "${best[cat_big]}" $gib_in_gbps_us "GB/s" 0.8
report "CRC 1 GiB cached" "${best[ours_big]}" "rhash --crc32" "${best[rhash_big]}" $gib_in_gbps_us "GB/s" 5

ours_small() { "$bin/bench_crc" "$small"; }
rhash_small() { rhash -r --crc32 "$small"; }
best_of_turns ours_small rhash_small
report "CRC 10,000 files of 4 KiB" "${best[ours_small]}" "rhash -r --crc32" "${best[rhash_small]}" 1e10 "files/s" 1

"$bin/bench_media" "$media/files" | awk '{
  for (i = 1; i <= NF; ++i) { split($i, pair, "="); value[pair[1]] = pair[2] }
  printf "Media facts of %d small media files (%d playable, %d with a FourCC): %d files/s by IsMediaFile + GetMediaLength + GetFourCC; %d files/s in one GetMediaInfo probe\n",
    value["files"], value["media"], value["fourcc"], value["three_calls_per_s"], value["one_probe_per_s"]
}'
exit $status
