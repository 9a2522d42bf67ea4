// SPDX-License-Identifier: GPL-3.0-or-later
// Formats told from a file's first bytes that no demuxer of sound or moving pictures in FFmpeg
// reads, so that most of a desktop's files (compressed manuals, icons, catalogues of translations,
// text) are known not to be media without FFmpeg's detection, which asks some three hundred
// demuxers about every file.
//
// The check is conservative: it names a format only when the bytes prove it, and leaves to FFmpeg
// every file that any of its demuxers of sound or moving pictures could claim. Pictures that
// FFmpeg also reads (a PNG, an animated GIF) are named because they are no media to us either.
// Text is named only when it carries nothing that a playlist, concat list, session description,
// subtitle format or chip-tune or tracker reader of FFmpeg starts with, and no pattern that one of
// its scanners for raw streams (MPEG-TS, LATM, AMR) could lock on to. A gzip stream is read far
// enough to see that it does not hold a VGM tune, which FFmpeg plays gzipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// How many of a file's first bytes the check looks at; FFmpeg's own first look is no longer.
inline constexpr std::size_t kContentCheckBytes = 8192;

// The format that `first` proves the file to be, such as "a PNG picture" or "plain text", when
// no demuxer of sound or moving pictures reads it; "" when the bytes prove no such format and
// FFmpeg must decide. `first` holds the file's first kContentCheckBytes bytes, or the whole file
// when it is shorter; `size` is the file's length. The file's name is not looked at: a caller whose
// file has a name that a media demuxer claims must still ask FFmpeg.
std::string_view FormatNoMediaReads(std::span<const unsigned char> first, std::int64_t size);
