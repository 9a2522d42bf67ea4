// SPDX-License-Identifier: GPL-3.0-or-later
// A record's frame made with the desktop's thumbnail cache: a thumbnail already there of the file as
// it is now is used rather than decoding the film, and what is decoded is left there for file
// managers too (see ThumbnailCache.h).
#pragma once

#include <string>

#include "analysis/modFrame.h"
#include "frames/ThumbnailCache.h"

struct MadeFrame {
    Frame Made;              // as MakeFrame gives it
    bool FromCache = false;  // taken from the cache's thumbnail rather than the film
    std::string CacheError;  // "" or why the cache could not be written; the frame is good regardless
};

// The frame of the file at path; cache may be null (no thumbnail cache used). Safe to call from
// several threads at once.
MadeFrame MakeFrameOf(const std::string& path, const ThumbnailCache* cache);
