// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/media/FFmpegInput.h"

#include <unistd.h>

#include <cerrno>

extern "C" {
#include <libavutil/opt.h>
}

namespace {

bool PastDeadline(MediaSource& source) {
    if (std::chrono::steady_clock::now() >= source.Deadline) source.TimedOut = true;
    return source.TimedOut;
}

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
    auto& source = *static_cast<MediaSource*>(opaque);
    if (PastDeadline(source)) return AVERROR_EXIT;
    ssize_t count = 0;
    do count = pread(source.Handle, buffer, static_cast<std::size_t>(size), source.Position);
    while (count < 0 && errno == EINTR);
    if (count < 0) return AVERROR(source.ReadError = errno);
    if (count == 0) return AVERROR_EOF;
    source.Position += count;
    return static_cast<int>(count);
}

std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto& source = *static_cast<MediaSource*>(opaque);
    std::int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return source.Size;
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = source.Position; break;
    case SEEK_END: base = source.Size; break;
    default: return AVERROR(EINVAL);
    }
    std::int64_t target = 0;  // a corrupt index can ask for any offset at all
    if (__builtin_add_overflow(base, offset, &target) || target < 0) return AVERROR(EINVAL);
    return source.Position = target;
}

int Interrupted(void* opaque) { return PastDeadline(*static_cast<MediaSource*>(opaque)) ? 1 : 0; }

}  // namespace

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

OpenedInput OpenInput(MediaSource& source, const char* path, const InputLimits& limits, IOContextPtr& io,
                      FormatContextPtr& format) {
    using Stage = OpenedInput::Stage;
    auto* buffer = static_cast<unsigned char*>(av_malloc(static_cast<std::size_t>(limits.IOBufferSize)));
    if (!buffer) return {AVERROR(ENOMEM), Stage::Setting};
    io.reset(avio_alloc_context(buffer, limits.IOBufferSize, 0, &source, ReadPacket, nullptr, Seek));
    if (!io) {
        av_free(buffer);
        return {AVERROR(ENOMEM), Stage::Setting};
    }
    AVFormatContext* opening = avformat_alloc_context();
    if (!opening) return {AVERROR(ENOMEM), Stage::Setting};
    opening->pb = io.get();
    opening->interrupt_callback = {Interrupted, &source};
    // No protocol at all: a playlist or reference inside the file would otherwise make FFmpeg open
    // other files or addresses. Demuxers that open a nested input hand this list on to it.
    if (const int code = av_opt_set(opening, "protocol_whitelist", "none", 0); code < 0) {
        avformat_free_context(opening);
        return {code, Stage::Setting};
    }
    opening->probesize = limits.ProbeBytes;
    if (limits.AnalyzeMicroseconds > 0) opening->max_analyze_duration = limits.AnalyzeMicroseconds;
    if (const int code = avformat_open_input(&opening, path, nullptr, nullptr); code < 0)
        return {code, Stage::Opening};  // FFmpeg has freed the context
    format.reset(opening);
    if (const int code = avformat_find_stream_info(format.get(), nullptr); code < 0) return {code, Stage::ReadingStreams};
    return {};
}
