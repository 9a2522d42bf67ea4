// SPDX-License-Identifier: GPL-3.0-or-later
// The media probe on any bytes, through FFmpeg with the probe's own time limit: it must answer,
// and its answer must keep the promises of MediaInfo. The content check sees the same bytes, as a
// load hands them over: what it settles must be no media to FFmpeg alone either. The same bytes
// then go through the frame's decoding, scaling and encoding, which must give a JPEG of the
// promised size or a reason.
#include <algorithm>
#include <cstdlib>

#include "analysis/ContentCheck.h"
#include "analysis/modFrame.h"
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

bool Consistent(const Frame& frame, int thumbEdge) {
    if (!frame.Made()) return !frame.Reason.empty() && frame.Rgb.empty();
    return frame.Reason.empty() && frame.Jpeg.size() > 2 && frame.Jpeg[0] == 0xFF && frame.Jpeg[1] == 0xD8 &&
           frame.Width > 0 && frame.Width <= kFrameWidth && frame.Height > 0 && frame.RgbWidth > 0 &&
           frame.RgbWidth <= thumbEdge && frame.RgbHeight > 0 && frame.RgbHeight <= thumbEdge &&
           frame.Rgb.size() == static_cast<std::size_t>(frame.RgbWidth) * frame.RgbHeight * 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("input.media");
    WriteScratchFile(path, data, size);
    const MediaInfo info = GetMediaInfo(path);
    if (!Consistent(info) || info.FourCC != GetFourCC(path)) std::abort();
    if (!Consistent(MakeFrame(path, 64), 64)) std::abort();
    const std::span first(data, std::min(size, kContentCheckBytes));
    if (FormatNoMediaReads(first, static_cast<std::int64_t>(size)).empty()) return 0;
    const MediaInfo settled = GetMediaInfo(path, first, static_cast<std::int64_t>(size));
    const MediaInfo alone = GetMediaInfo(path, kMediaProbeTimeout, MediaDetection::FFmpegOnly);
    if (!Consistent(settled) || settled.FourCC != info.FourCC || (alone.IsMedia && !alone.ProbeFailed)) std::abort();
    return 0;
}
