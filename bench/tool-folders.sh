# Sourced by the tools' benchmarks: $small holds 10,000 files of 4 KiB, $smallDat and $smallBin
# the same bytes named *.dat (a name FFmpeg's demuxers claim) and *.bin, $big 1,000 files of
# 1 MiB and $empty 10,000 empty files, made once and kept in the benchmarks' work folder.
small="$RV_BENCH_WORK/tools/4KiB"
smallDat="$RV_BENCH_WORK/tools/4KiB-dat"
smallBin="$RV_BENCH_WORK/tools/4KiB-bin"
big="$RV_BENCH_WORK/tools/1MiB"
empty="$RV_BENCH_WORK/tools/empty"
if [ ! -e "$small/.done" ]; then
  rm -rf "$small" && mkdir -p "$small"
  head -c $((10000 * 4096)) /dev/urandom | (cd "$small" && split -b 4096 -a 5 -d - f)
  touch "$small/.done"
fi
for named in dat bin; do
  folder="$RV_BENCH_WORK/tools/4KiB-$named"
  if [ ! -e "$folder/.done" ]; then
    rm -rf "$folder" && mkdir -p "$folder"
    cat "$small"/f* | (cd "$folder" && split -b 4096 -a 5 -d --additional-suffix=".$named" - f)
    touch "$folder/.done"
  fi
done
if [ ! -e "$big/.done" ]; then
  rm -rf "$big" && mkdir -p "$big"
  head -c $((1000 << 20)) /dev/urandom | (cd "$big" && split -b 1M -a 4 -d - f)
  touch "$big/.done"
fi
if [ ! -e "$empty/.done" ]; then
  rm -rf "$empty" && mkdir -p "$empty"
  (cd "$empty" && seq -f 'e%05.0f' 0 9999 | xargs touch)
  touch "$empty/.done"
fi
