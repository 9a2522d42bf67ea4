// SPDX-License-Identifier: GPL-3.0-or-later
// The FFmpeg half of the media probe, as the media module exports it (and as the fuzz target
// links it directly).
#pragma once

#include <string>

#include "analysis/media/MediaProbeAbi.h"

// Checks that the FFmpeg libraries found at run time are those the module was built for, then
// silences FFmpeg's log and caps any block it allocates at 256 MiB, for the whole process: a file
// whose probe asks for more is not media (or, when FFmpeg says so, could not be examined for want
// of memory). "" when FFmpeg is ready; otherwise why not. Call once, before any probe.
std::string SetUpFFmpeg();

// "5.1.9 (libavformat 59.27.100, libavcodec 59.37.100, libavutil 57.28.100)": the release name
// alone does not tell which build is loaded, so each library's own number follows it.
std::string FFmpegVersions();

// Probes the file of the request: the verdict of RvMediaVerdict. Reads only through the
// request's handle, never another file or address a playlist inside it names. Safe to call from
// several threads at once.
void ProbeWithFFmpeg(const RvMediaRequest& request, RvMediaVerdict& answer);

// Whether a demuxer of sound or moving pictures claims the path's extension.
bool NameClaimedByMedia(const std::string& path);
