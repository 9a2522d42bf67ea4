#!/usr/bin/env bash
# make-clips.sh FOLDER: 300 short clips in ten containers into FOLDER/made, and each again under
# FOLDER/renamed with .txt, .png and .gz added to its name. Made once; a ".done" mark tells a
# finished set.
set -euo pipefail
clips=$1
[ -e "$clips/.done" ] && exit 0
rm -rf "$clips" && mkdir -p "$clips/made" "$clips/renamed"
# One clip's ten files: its number sets its length and pitch.
make_clip() {
  local i=$1 length F="ffmpeg -hide_banner -loglevel error -y"
  length=$(awk -v i="$i" 'BEGIN { printf "%.2f", 0.2 + i * 0.13 }')
  local sound="-f lavfi -i sine=frequency=$((200 + i * 20)):duration=$length"
  local picture="-f lavfi -i testsrc=size=64x48:rate=25:duration=$length"
  # shellcheck disable=SC2086  # the options are words
  $F $sound $picture \
    -map 0:a -c:a pcm_s16le "c$i.wav" -map 0:a -c:a libmp3lame "c$i.mp3" -map 0:a -c:a flac "c$i.flac" \
    -map 0:a -c:a libvorbis "c$i.ogg" -map 0:a -c:a pcm_s16be "c$i.aif" \
    -map 1:v -map 0:a -c:v mpeg4 -vtag DIVX -c:a libmp3lame "c$i.avi" \
    -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a aac "c$i.mp4" \
    -map 1:v -map 0:a -c:v libx264 -preset ultrafast -c:a libopus "c$i.mkv" \
    -map 1:v -map 0:a -c:v mpeg4 -c:a aac "c$i.mov" -map 1:v -map 0:a -c:v mpeg2video -c:a mp2 "c$i.ts"
}
export -f make_clip
(cd "$clips/made" && seq 1 30 | xargs -P "$(nproc)" -I{} bash -c 'make_clip {}')
for clip in "$clips"/made/*; do
  for name in txt png gz; do cp "$clip" "$clips/renamed/${clip##*/}.$name"; done
done
touch "$clips/.done"
