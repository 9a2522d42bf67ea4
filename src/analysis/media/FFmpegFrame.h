// SPDX-License-Identifier: GPL-3.0-or-later
// The FFmpeg half of a film's frame, as the media module exports it (and as the fuzz target links
// it directly): FFmpeg's decoders find the picture, its scaler makes it small, its JPEG encoder
// makes the stored picture.
#pragma once

#include "analysis/media/MediaProbeAbi.h"

// Fills result as RvMediaProbe::MakeFrame says. Reads only through the request's handle. Memory
// stays bounded for any picture size: a JPEG cover is decoded at a fraction of its size where the
// decoder can, and no block may exceed the cap SetUpFFmpeg sets.
void MakeFrameWithFFmpeg(const RvFrameRequest& request, RvFrameResult& result);

// Frees what MakeFrameWithFFmpeg allocated, and empties the result.
void FreeFrameOfFFmpeg(RvFrameResult& result);
