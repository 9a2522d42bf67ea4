#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/<target>/. Small on purpose:
# libFuzzer grows its own corpus from these in a scratch folder during a run.
# Usage: tests/fuzz/make-corpus.sh [RVCLI]   (default build/dev/rvcli; it makes the catalogue)
set -euo pipefail
cd "$(dirname "$0")"
rvcli=$(realpath "${1:-../../build/dev/rvcli}")
corpus=corpus
rm -rf "$corpus"
mkdir -p "$corpus"/{fuzz_ini,fuzz_fourcc,fuzz_media,fuzz_catalogue,fuzz_search,fuzz_cli_text}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

ini() {
  printf 'AutoCalculateCRC=false\nLastDir=/home/me/films/\n' > "$corpus/fuzz_ini/settings.ini"
  printf '\xEF\xBB\xBF# comment\r\n[Section]\r\nname=value=more\r\n\r\n'"'"'old comment\rLastDir=\r' > "$corpus/fuzz_ini/crlf-bom.ini"
  printf 'x=1\n[a]\nx=2\n[]\nAutoCalculateCRC=TRUE\n[b\nnot a variable\n#=\n' > "$corpus/fuzz_ini/sections.ini"
}

# A RIFF/AVI header as far as the stream header that names the video handler.
riff() {
  printf 'RIFF\x30\x00\x00\x00AVI LIST\x24\x00\x00\x00hdrlavih\x00\x00\x00\x00strh\x10\x00\x00\x00vidsXVID' \
    > "$corpus/fuzz_fourcc/avi-header.avi"
  printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00' > "$corpus/fuzz_fourcc/wave-header.wav"
  printf 'RIFF\x08\x00\x00\x00vids' > "$corpus/fuzz_fourcc/short-handler.avi"
}

media() {
  local quiet=(-hide_banner -loglevel error -fflags +bitexact -flags +bitexact)
  ffmpeg "${quiet[@]}" -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=0.05" \
    -c:a pcm_u8 "$corpus/fuzz_media/tone.wav"
  ffmpeg "${quiet[@]}" -f lavfi -i "color=size=16x16:rate=2:duration=1" \
    -c:v mjpeg -q:v 31 "$corpus/fuzz_media/still.avi"
  cp "$corpus/fuzz_fourcc/avi-header.avi" "$corpus/fuzz_media/header-only.avi"
}

catalogue() {
  local rvd=$scratch/films.rvd
  "$rvcli" new "$rvd"
  "$rvcli" category "$rvd" add "Drama"
  "$rvcli" type "$rvd" save "Film" --ext avi MKV --app "mpv"
  "$rvcli" add "$rvd" "$corpus/fuzz_media/still.avi" --title "It's a 'title'" --category Drama --keyword one --keyword two --no-crc >/dev/null
  # Small pages keep the seed a few kilobytes; the layout is still the one the program writes.
  sqlite3 "$rvd" 'PRAGMA page_size=512; VACUUM;'
  cp "$rvd" "$corpus/fuzz_catalogue/films.rvd"
  printf 'SQLite format 3\0' > "$corpus/fuzz_catalogue/header-only.rvd"
}

# Fields cut at NUL, in the order of SearchFields: file name, title, type, category, CRC, size
# comparison and size, length comparison and length, FourCC, rating comparison and rating.
search() {
  printf "it's%%_\\0' OR 1=1 --\\0Film\\0Drama\\0ab'cd\\0<\\0 2.50k\\0>\\0-1e3\\0XVID\\0=\\0+4" > "$corpus/fuzz_search/all-fields"
  printf "'); DROP TABLE tblFile; --\\0\\0\\0\\0\\0=\\0nan" > "$corpus/fuzz_search/injection"
}

cli_text() {
  printf '/media/films/./a/../b/\0relative/../x.AVI\0..\0/\0\033[31mred\t\n' > "$corpus/fuzz_cli_text/paths"
  printf 'caf\xc3\xa9.Mkv\0\xff\xfe\0a,"b"\r\n' > "$corpus/fuzz_cli_text/names"
}

ini; riff; media; catalogue; search; cli_text
du -sh "$corpus"/*
