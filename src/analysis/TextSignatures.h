// SPDX-License-Identifier: GPL-3.0-or-later
// Text that no reader of FFmpeg takes for sound or moving pictures.
//
// FFmpeg reads a good many formats that are text, or start as text: playlists and concat lists,
// session descriptions, subtitles, binaural-beat scripts, the headers of raw video and sound, and
// tracker modules whose names are text. Its scanners for raw streams look for sync patterns that
// text can hold by chance: an "G" every 188 bytes is an MPEG transport stream to it, and a file of
// box-drawing characters raw AMR speech. Text is only called text here when it steers clear of
// every one of them, with a wide margin where FFmpeg weighs evidence.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// "plain text", "an XML document", "an HTML document" or "an SVG picture" when `first` (a file's
// first bytes, or all of a shorter file; `size` its length) is UTF-8 text with no control
// characters but tab, line feed, form feed and carriage return, and carries nothing that a demuxer
// of FFmpeg could read as a playlist, subtitles, a script of sound, a module or a raw stream; ""
// otherwise.
std::string_view PlainTextFormat(std::span<const unsigned char> first, std::int64_t size);
