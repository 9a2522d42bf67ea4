// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/FrameMaker.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

MadeFrame MakeFrameOf(const std::string& path, const ThumbnailCache* cache) {
    MadeFrame result;
    struct stat info {};
    if (!cache || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.Made = MakeFrame(path, 0);
        return result;
    }
    if (const auto thumbnail = cache->Find(path, info.st_mtime)) {
        result.Made = MakeFrame(*thumbnail, 0);
        result.FromCache = result.Made.Made();
        if (result.FromCache) return result;  // a thumbnail that no longer decodes is made again
    }
    if (cache->Failed(path, info.st_mtime)) {
        result.Made.Reason = "No frame in " + path + ": the thumbnail cache notes that none can be made of it";
        return result;
    }
    result.Made = MakeFrame(path, kThumbnailEdge);
    if (result.Made.Made())
        result.CacheError = cache->Store(path, info.st_mtime, info.st_size, result.Made.Rgb, result.Made.RgbWidth,
                                         result.Made.RgbHeight);
    else if (!result.Made.Failed)
        result.CacheError = cache->StoreFailure(path, info.st_mtime, info.st_size);
    result.Made.Rgb.clear();
    return result;
}
