// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modFrame.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "analysis/MediaModule.h"
#include "analysis/cFile.h"

namespace {

Frame NotMade(const std::string& path, std::string why, bool failed) {
    Frame frame;
    frame.Reason = (failed ? "Could not make a frame of " : "No frame in ") + path + ": " + std::move(why);
    frame.Failed = failed;
    return frame;
}

Frame Taken(const RvFrameResult& result) {
    Frame frame;
    frame.Jpeg.assign(result.Jpeg, result.Jpeg + result.JpegSize);
    frame.Width = result.JpegWidth;
    frame.Height = result.JpegHeight;
    if (result.Rgb) {
        frame.Rgb.assign(result.Rgb, result.Rgb + static_cast<std::size_t>(result.ThumbWidth) * result.ThumbHeight * 3);
        frame.RgbWidth = result.ThumbWidth;
        frame.RgbHeight = result.ThumbHeight;
    }
    return frame;
}

}  // namespace

Frame MakeFrame(const std::string& path, int thumbEdge, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    cFile file;
    int error = 0;
    file.Error = [&error](int errNumber, const std::string&) { error = errNumber; };
    // Non-blocking, so that a named pipe cannot hold the open forever; a plain file ignores it.
    if (file.OpenFile(path, O_RDONLY | O_NONBLOCK) < 0) return NotMade(path, std::strerror(error ? error : ENOENT), true);
    if (!file.IsRegularFile()) return NotMade(path, error ? std::strerror(error) : "not a plain file", error != 0);
    const std::int64_t size = file.FileSize();
    if (size < 0) return NotMade(path, std::strerror(error ? error : EIO), true);
    if (size == 0) return NotMade(path, "it is empty", false);

    const MediaModule& module = MediaModule::Get();
    if (!module.Unavailable().empty()) return NotMade(path, module.Unavailable(), true);
    const RvFrameRequest request{file.FileHandle(), size, path.c_str(),
                                 std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count(),
                                 timeout.count(), kFrameWidth, thumbEdge};
    RvFrameResult result = module.MakeFrame(request);
    Frame frame = result.Code == 0 ? Taken(result) : NotMade(path, result.Why, result.Failed != 0);
    module.FreeFrame(result);
    return frame;
}
