// SPDX-License-Identifier: GPL-3.0-or-later
// How the media module hands FFmpeg a file: through read and seek callbacks on a handle the core
// opened and checked, never by name (a name with a colon would be taken for an address), every
// read held against a deadline; and the owners of what FFmpeg allocates.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

struct MediaSource {
    int Handle = -1;
    std::int64_t Size = 0;
    std::chrono::steady_clock::time_point Deadline;
    std::int64_t Position = 0;
    int ReadError = 0;  // errno of a failed read
    bool TimedOut = false;
};

struct IOContextFree {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);  // FFmpeg may have replaced the buffer it was given
        avio_context_free(&io);
    }
};
struct FormatContextClose {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using IOContextPtr = std::unique_ptr<AVIOContext, IOContextFree>;
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextClose>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

std::string ErrorText(int code);

struct InputLimits {
    int IOBufferSize = 32 * 1024;
    std::int64_t ProbeBytes = 5'000'000;
    std::int64_t AnalyzeMicroseconds = 0;  // 0: FFmpeg's own
};

struct OpenedInput {
    enum class Stage { Setting, Opening, ReadingStreams };
    int Code = 0;  // 0, or FFmpeg's negative code; source tells a failed read or the deadline apart
    Stage FailedAt = Stage::Setting;
};

// A format context reading source, its streams found. path only hints at the format by its
// extension; the bytes come through io, which must outlive format (declare it first).
OpenedInput OpenInput(MediaSource& source, const char* path, const InputLimits& limits, IOContextPtr& io,
                      FormatContextPtr& format);
