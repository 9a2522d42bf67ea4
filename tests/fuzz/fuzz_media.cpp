// SPDX-License-Identifier: GPL-3.0-or-later
// The media probe on any bytes, through FFmpeg with the probe's own time limit: it must answer,
// and its answer must keep the promises of MediaInfo. The content check sees the same bytes, as a
// load hands them over: what it settles must be no media to FFmpeg alone either.
#include <algorithm>
#include <cstdlib>

#include "analysis/ContentCheck.h"
#include "analysis/modMediaInfo.h"
#include "fuzz/FuzzInput.h"

namespace {

// Facts come with a verdict of media, read from the container the verdict opened, and nothing
// else: whatever the bytes claim, their counts and texts stay within what was kept.
bool Consistent(const MediaInfo& info) {
    if (info.IsMedia) {
        if (!info.Facts) return false;
        const MediaFacts& facts = *info.Facts;
        return info.Length >= 0 && info.Reason.empty() && !info.ProbeFailed && facts.Audio.size() <= 16 &&
               facts.Subtitles.size() <= 16 && facts.SubtitleCount >= static_cast<int>(facts.Subtitles.size()) &&
               facts.Width >= 0 && facts.Height >= 0 && facts.Comment.size() < 512;
    }
    return info.Length < 0 && !info.Reason.empty() && !info.Facts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("input.media");
    WriteScratchFile(path, data, size);
    const MediaInfo info = GetMediaInfo(path);
    if (!Consistent(info) || info.FourCC != GetFourCC(path)) std::abort();
    const std::span first(data, std::min(size, kContentCheckBytes));
    if (FormatNoMediaReads(first, static_cast<std::int64_t>(size)).empty()) return 0;
    const MediaInfo settled = GetMediaInfo(path, first, static_cast<std::int64_t>(size));
    const MediaInfo alone = GetMediaInfo(path, kMediaProbeTimeout, MediaDetection::FFmpegOnly);
    if (!Consistent(settled) || settled.FourCC != info.FourCC || (alone.IsMedia && !alone.ProbeFailed)) std::abort();
    return 0;
}
