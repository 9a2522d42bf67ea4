// SPDX-License-Identifier: GPL-3.0-or-later
// The media probe on any bytes, through FFmpeg with the probe's own time limit: it must answer,
// and its answer must keep the promises of MediaInfo.
#include <cstdlib>

#include "analysis/modMediaInfo.h"
#include "fuzz/FuzzInput.h"

namespace {

bool Consistent(const MediaInfo& info) {
    if (info.IsMedia) return info.Length >= 0 && info.Reason.empty() && !info.ProbeFailed;
    return info.Length < 0 && !info.Reason.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("input.media");
    WriteScratchFile(path, data, size);
    const MediaInfo info = GetMediaInfo(path);
    if (!Consistent(info) || info.FourCC != GetFourCC(path)) std::abort();
    return 0;
}
