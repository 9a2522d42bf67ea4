#!/usr/bin/env bash
# Frames: the frames' pass over the 300 clips of the analysis tests (ten containers, half of them
# sound alone) beside ffmpegthumbnailer run over the same clips one after another, and the median
# size a stored frame adds to the catalogue. Each time is the best of RV_BENCH_RUNS turns (3 by
# default), taken in turns with its reference; each turn of ours starts with no frame stored and
# an empty thumbnail cache, so every frame is decoded. Then the window's longest pause while the
# frames of the same clips arrive.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
work="$RV_BENCH_WORK/frames"
clips="$RV_BENCH_WORK/clips"
runs=${RV_BENCH_RUNS:-3}
mkdir -p "$work"
bash "$top/tests/analysis/make-clips.sh" "$clips"
catalogue="$work/clips.rvd"
if [ ! -e "$catalogue.done" ]; then
  rm -f "$catalogue"
  "$RV_BENCH_BUILD/rvcli" new "$catalogue" >/dev/null
  "$RV_BENCH_BUILD/rvcli" load "$catalogue" "$clips/made" "*" --no-crc >/dev/null
  touch "$catalogue.done"
fi
clipCount=$(find "$clips/made" -type f | wc -l)

ours() {
  sqlite3 "$catalogue" "DELETE FROM rvFrame;" 2>/dev/null || true  # none yet before the first turn
  rm -rf "$work/cache"
  XDG_CACHE_HOME="$work/cache" "$RV_BENCH_BUILD/rvcli" frames "$catalogue" 2>/dev/null
}
theirs() {
  rm -rf "$work/theirs" && mkdir -p "$work/theirs"
  local clip
  for clip in "$clips"/made/*; do
    ffmpegthumbnailer -i "$clip" -o "$work/theirs/${clip##*/}.jpg" -s 320 >/dev/null 2>&1 || true  # sound alone: none
  done
}

declare -A best
for name in ours theirs; do best[$name]=999999999999; done
for _ in $(seq "$runs"); do
  for name in ours theirs; do
    start=${EPOCHREALTIME/./}
    "$name" > "$work/$name.out"
    end=${EPOCHREALTIME/./}
    if (( end - start < best[$name] )); then best[$name]=$((end - start)); fi
  done
done
status=0
made=$(sqlite3 "$catalogue" "SELECT count(*) FROM rvFrame WHERE length(Picture) > 0;")
theirMade=$(find "$work/theirs" -name '*.jpg' -size +0 | wc -l)
awk -v ours="${best[ours]}" -v theirs="${best[theirs]}" -v clips="$clipCount" -v made="$made" -v theirMade="$theirMade" 'BEGIN {
  ratio = ours / theirs
  printf "Frames of %d clips (%d with pictures): %.2f s, %d frames; ffmpegthumbnailer one after another %.2f s, %d frames; ratio %.2f (bound <= 1.5) %s\n",
    clips, made, ours / 1e6, made, theirs / 1e6, theirMade, ratio, (ratio <= 1.5 ? "ok" : "MISSED")
  exit (ratio <= 1.5 ? 0 : 1)
}' || status=1

# The 300 clips are 64 pixels wide; the size a frame adds is measured on films of 1280 x 720 too,
# whose frames are the full 320 pixels wide, of pictures from plain to busy (the last with grain).
hd="$work/hd"
if [ ! -e "$hd/.done" ]; then
  rm -rf "$hd" && mkdir -p "$hd"
  sources=(testsrc testsrc2 smptehdbars rgbtestsrc mandelbrot life cellauto gradients yuvtestsrc "testsrc2,noise=alls=20:allf=t")
  for i in "${!sources[@]}"; do
    name=${sources[$i]%%,*}
    after=${sources[$i]#"$name"}  # the filters behind the source
    ffmpeg -hide_banner -loglevel error -y -f lavfi -i "$name=size=1280x720:rate=25$after" -t 3 \
      -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$hd/hd$i.mp4"
  done
  "$RV_BENCH_BUILD/rvcli" new "$hd/hd.rvd" >/dev/null
  "$RV_BENCH_BUILD/rvcli" load "$hd/hd.rvd" "$hd" "*.mp4" --no-crc >/dev/null
  touch "$hd/.done"
fi
XDG_CACHE_HOME="$work/cache" "$RV_BENCH_BUILD/rvcli" frames "$hd/hd.rvd" >/dev/null 2>&1

median_bytes() {  # label, catalogue
  sqlite3 "$2" "SELECT length(Picture) FROM rvFrame WHERE length(Picture) > 0 ORDER BY 1;" | awk -v label="$1" '
  { size[NR] = $1 }
  END {
    if (NR == 0) { printf "Bytes per stored frame, %s: no frames  MISSED\n", label; exit 1 }
    median = (NR % 2) ? size[(NR + 1) / 2] : (size[NR / 2] + size[NR / 2 + 1]) / 2
    printf "Bytes per stored frame, %s, median of %d: %d (bound <= 12288) %s\n", label, NR, median, (median <= 12288 ? "ok" : "MISSED")
    exit (median <= 12288 ? 0 : 1)
  }'
}
median_bytes "the 300 clips" "$catalogue" || status=1
median_bytes "films of 1280 x 720" "$hd/hd.rvd" || status=1

# The window while the frames arrive: the same catalogue, none of its frames stored, no cache.
rm -rf "$work/cache"
XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$RV_BENCH_WORK/window-config" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}" \
  "$RV_BENCH_BUILD/bench_frames_window" "$catalogue" 2>/dev/null || status=1
exit $status
