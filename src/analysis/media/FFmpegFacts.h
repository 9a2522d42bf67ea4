// SPDX-License-Identifier: GPL-3.0-or-later
// The facts of a media file that its opened container already holds: codecs, sizes, languages and
// tags. Built into the media module beside the probe, which hands over the context it opened.
#pragma once

#include "analysis/media/MediaProbeAbi.h"

struct AVFormatContext;

// Fills facts (zeroed first) from the streams and tags of format, after avformat_find_stream_info.
// Reads nothing from the file.
void ReadFacts(const AVFormatContext& format, RvMediaFacts& facts);
