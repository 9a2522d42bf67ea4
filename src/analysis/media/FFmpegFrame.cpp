// SPDX-License-Identifier: GPL-3.0-or-later
// A film's frame: the embedded cover where there is one, otherwise the first picture the decoder
// gives from the key frame before a tenth of the film's length. Seeking to the key frame and
// taking what it gives, rather than decoding up to the exact tenth, keeps a frame at the cost of
// one key frame's decoding.
#include "analysis/media/FFmpegFrame.h"
#include "analysis/media/FFmpegInput.h"


#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

using Clock = std::chrono::steady_clock;

struct ScalerFree {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFree>;

struct Outcome {
    int Code = 0;
    std::string Why;
    bool Failed = false;
    bool Ok() const { return Code == 0; }
};

Outcome NoFrame(std::string why, int code = AVERROR_INVALIDDATA) { return {code, std::move(why), false}; }

Outcome FromError(const MediaSource& source, int code, const std::string& doing, std::int64_t timeoutMs) {
    if (source.TimedOut) return {AVERROR_EXIT, "gave up after " + std::to_string(timeoutMs) + " ms", true};
    if (source.ReadError != 0) return {AVERROR(source.ReadError), std::strerror(source.ReadError), true};
    if (code == AVERROR(ENOMEM)) return {code, "not enough memory to " + doing, true};
    return NoFrame("could not " + doing + " (" + ErrorText(code) + ")", code);
}

// Bounds on the look for streams, on top of the deadline.
constexpr int kIOBufferSize = 64 * 1024;
constexpr std::int64_t kProbeBytes = 5'000'000;
// Packets read looking for a picture before giving up: a damaged stream may hold none that decodes.
constexpr int kMaxPackets = 4000;
// The stored picture's JPEG quality, as the encoder's quantisers tried in turn (2 best, 31 worst)
// until the picture takes no more than kJpegEnough bytes: at 320 pixels wide most frames take
// 1 to 6 KB at the first and still show faces and titles.
constexpr int kJpegQuantisers[] = {6, 12, 24};
constexpr int kJpegEnough = 12 * 1024;

Outcome Open(MediaSource& source, const char* path, std::int64_t timeoutMs, IOContextPtr& io, FormatContextPtr& format) {
    const OpenedInput opened = OpenInput(source, path, {.IOBufferSize = kIOBufferSize, .ProbeBytes = kProbeBytes}, io, format);
    switch (opened.FailedAt) {
    case OpenedInput::Stage::Setting:
        if (opened.Code == AVERROR(ENOMEM)) return {opened.Code, "not enough memory", true};
        if (opened.Code < 0) return {opened.Code, ErrorText(opened.Code), true};
        return {};
    case OpenedInput::Stage::Opening: return FromError(source, opened.Code, "open it", timeoutMs);
    case OpenedInput::Stage::ReadingStreams: return FromError(source, opened.Code, "read its streams", timeoutMs);
    }
    return {};
}

// The stream to take the picture from, the cover first; -1 when there is none.
int PictureStream(const AVFormatContext& format, bool& cover) {
    for (unsigned index = 0; index < format.nb_streams; ++index) {
        const AVStream& stream = *format.streams[index];
        if ((stream.disposition & AV_DISPOSITION_ATTACHED_PIC) && stream.attached_pic.size > 0) {
            cover = true;
            return static_cast<int>(index);
        }
    }
    cover = false;
    const int best = av_find_best_stream(const_cast<AVFormatContext*>(&format), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    return best < 0 ? -1 : best;
}

Outcome OpenDecoder(const AVStream& stream, int width, CodecContextPtr& decoder) {
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec) return NoFrame(std::string("no decoder for its pictures (") + avcodec_get_name(stream.codecpar->codec_id) + ")");
    decoder.reset(avcodec_alloc_context3(codec));
    if (!decoder) return {AVERROR(ENOMEM), "not enough memory", true};
    if (const int code = avcodec_parameters_to_context(decoder.get(), stream.codecpar); code < 0)
        return NoFrame("its picture stream is damaged (" + ErrorText(code) + ")", code);
    decoder->thread_count = 1;  // frames are made several at once, one per file
    // A decoder that can decode at a half, a quarter or an eighth of the size (JPEG) does, as far
    // as the picture stays wider than wanted: a 100-megapixel cover then needs a sixty-fourth of
    // the memory.
    int lowres = 0;
    while (lowres < codec->max_lowres && (stream.codecpar->width >> (lowres + 1)) >= width) ++lowres;
    decoder->lowres = lowres;
    if (const int code = avcodec_open2(decoder.get(), codec, nullptr); code < 0)
        return code == AVERROR(ENOMEM) ? Outcome{code, "not enough memory to decode it", true}
                                       : NoFrame("its pictures cannot be decoded (" + ErrorText(code) + ")", code);
    return {};
}

// A picture the decoder flagged as damaged is not one to show.
bool Usable(const AVFrame& frame) { return frame.width > 0 && frame.height > 0 && !(frame.flags & AV_FRAME_FLAG_CORRUPT); }

// Feeds packets of the stream to the decoder until it gives a usable picture. 0, or why not.
int DecodeOne(AVFormatContext& format, int streamIndex, AVCodecContext& decoder, AVFrame& frame) {
    PacketPtr packet(av_packet_alloc());
    if (!packet) return AVERROR(ENOMEM);
    int lastError = AVERROR_EOF;
    for (int read = 0; read < kMaxPackets; ++read) {
        const int code = av_read_frame(&format, packet.get());
        if (code < 0) {
            if (code != AVERROR_EOF) lastError = code;
            break;
        }
        const bool ours = packet->stream_index == streamIndex;
        const int sent = ours ? avcodec_send_packet(&decoder, packet.get()) : 0;
        av_packet_unref(packet.get());
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            if (sent == AVERROR(ENOMEM)) return sent;
            lastError = sent;
            continue;
        }
        while (ours && avcodec_receive_frame(&decoder, &frame) == 0) {
            if (Usable(frame)) return 0;
            av_frame_unref(&frame);
        }
    }
    avcodec_send_packet(&decoder, nullptr);  // what the decoder still holds
    while (avcodec_receive_frame(&decoder, &frame) == 0) {
        if (Usable(frame)) return 0;
        av_frame_unref(&frame);
    }
    return lastError;
}

int DecodeCover(const AVStream& stream, AVCodecContext& decoder, AVFrame& frame) {
    if (const int code = avcodec_send_packet(&decoder, &stream.attached_pic); code < 0) return code;
    avcodec_send_packet(&decoder, nullptr);
    const int code = avcodec_receive_frame(&decoder, &frame);
    if (code < 0) return code;
    return Usable(frame) ? 0 : AVERROR_INVALIDDATA;
}

// Seeks to the key frame before a tenth of the length; false when the file is too short to be
// worth it (a still picture is a frame long, and the demuxers of pictures seek badly) or cannot
// seek, and is read from where the look for streams left it.
bool SeekToATenth(AVFormatContext& format) {
    if (format.duration < AV_TIME_BASE) return false;
    const std::int64_t start = format.start_time == AV_NOPTS_VALUE ? 0 : format.start_time;
    return av_seek_frame(&format, -1, start + format.duration / 10, AVSEEK_FLAG_BACKWARD) >= 0;
}

// The first usable picture from a tenth of the way in, or from the start when there is none there
// (a still picture has one frame, and a seek in a file with a broken index may land past the end).
int DecodeFromATenth(AVFormatContext& format, int streamIndex, AVCodecContext& decoder, AVFrame& frame) {
    if (!SeekToATenth(format)) return DecodeOne(format, streamIndex, decoder, frame);
    const int code = DecodeOne(format, streamIndex, decoder, frame);
    if (code != AVERROR_EOF) return code;
    avcodec_flush_buffers(&decoder);
    if (av_seek_frame(&format, -1, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(&format, -1, INT64_MIN, 0, INT64_MAX, AVSEEK_FLAG_BYTE) < 0)
        return code;
    return DecodeOne(format, streamIndex, decoder, frame);
}

// The size a picture of width x height (with its pixels' shape) takes when it fits in boxWidth x
// boxHeight, never enlarged; both at least 1.
void Fit(const AVFrame& frame, int boxWidth, int boxHeight, int& width, int& height) {
    double shownWidth = frame.width;
    if (frame.sample_aspect_ratio.num > 0 && frame.sample_aspect_ratio.den > 0)
        shownWidth = frame.width * av_q2d(frame.sample_aspect_ratio);
    const double scale = std::min({1.0, boxWidth / shownWidth, boxHeight / static_cast<double>(frame.height)});
    width = std::max(1, static_cast<int>(shownWidth * scale + 0.5));
    height = std::max(1, static_cast<int>(frame.height * scale + 0.5));
}

// The picture scaled to width x height in format, into data/lines; 0 or FFmpeg's code.
int Scale(const AVFrame& frame, int width, int height, AVPixelFormat format, std::uint8_t* const data[], const int lines[]) {
    ScalerPtr scaler(sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width, height,
                                    format, SWS_AREA, nullptr, nullptr, nullptr));
    if (!scaler) return AVERROR(EINVAL);
    const int rows = sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, data, lines);
    return rows > 0 ? 0 : AVERROR(EINVAL);
}

// The small picture as a JPEG at the quantiser into packet; 0 or FFmpeg's code.
int EncodeAt(AVFrame& small, int quantiser, AVPacket& packet) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    CodecContextPtr encoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!encoder) return AVERROR_ENCODER_NOT_FOUND;
    encoder->width = small.width;
    encoder->height = small.height;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->time_base = {1, 25};
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * quantiser;
    small.quality = encoder->global_quality;
    av_packet_unref(&packet);
    int code = avcodec_open2(encoder.get(), codec, nullptr);
    if (code >= 0) code = avcodec_send_frame(encoder.get(), &small);
    if (code >= 0) code = avcodec_receive_packet(encoder.get(), &packet);
    return code;
}

Outcome EncodeJpeg(const AVFrame& picture, RvFrameResult& result) {
    int width = 0, height = 0;
    Fit(picture, result.JpegWidth, 1 << 16, width, height);
    width += width & 1;  // whole blocks of the halved colour planes
    height += height & 1;
    FramePtr small(av_frame_alloc());
    if (!small) return {AVERROR(ENOMEM), "not enough memory", true};
    small->width = width;
    small->height = height;
    small->format = AV_PIX_FMT_YUVJ420P;
    if (const int code = av_frame_get_buffer(small.get(), 0); code < 0) return {code, "not enough memory", true};
    if (const int code = Scale(picture, width, height, AV_PIX_FMT_YUVJ420P, small->data, small->linesize); code < 0)
        return NoFrame("its picture cannot be scaled", code);
    PacketPtr packet(av_packet_alloc());
    if (!packet) return {AVERROR(ENOMEM), "not enough memory", true};
    // A busy picture (grain, foliage, noise) is encoded again more coarsely rather than stored large.
    int code = 0;
    for (const int quantiser : kJpegQuantisers) {
        if ((code = EncodeAt(*small, quantiser, *packet)) < 0 || packet->size <= kJpegEnough) break;
    }
    if (code < 0) return {code, "the picture could not be encoded (" + ErrorText(code) + ")", true};
    result.Jpeg = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(packet->size)));
    if (!result.Jpeg) return {AVERROR(ENOMEM), "not enough memory", true};
    std::memcpy(result.Jpeg, packet->data, static_cast<std::size_t>(packet->size));
    result.JpegSize = static_cast<std::size_t>(packet->size);
    result.JpegWidth = width;
    result.JpegHeight = height;
    return {};
}

Outcome MakeRgb(const AVFrame& picture, int edge, RvFrameResult& result) {
    int width = 0, height = 0;
    Fit(picture, edge, edge, width, height);
    result.Rgb = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(width) * height * 3));
    if (!result.Rgb) return {AVERROR(ENOMEM), "not enough memory", true};
    std::uint8_t* const data[4] = {result.Rgb, nullptr, nullptr, nullptr};
    const int lines[4] = {width * 3, 0, 0, 0};
    if (const int code = Scale(picture, width, height, AV_PIX_FMT_RGB24, data, lines); code < 0)
        return NoFrame("its picture cannot be scaled", code);
    result.ThumbWidth = width;
    result.ThumbHeight = height;
    return {};
}

Outcome Make(MediaSource& source, const RvFrameRequest& request, RvFrameResult& result) {
    IOContextPtr io;
    FormatContextPtr format;
    if (Outcome opened = Open(source, request.Path, request.TimeoutMs, io, format); !opened.Ok()) return opened;
    bool cover = false;
    const int streamIndex = PictureStream(*format, cover);
    if (streamIndex < 0) return NoFrame("it has no pictures", AVERROR_STREAM_NOT_FOUND);
    const AVStream& stream = *format->streams[streamIndex];
    CodecContextPtr decoder;
    if (Outcome ready = OpenDecoder(stream, request.Width, decoder); !ready.Ok()) return ready;
    FramePtr frame(av_frame_alloc());
    if (!frame) return {AVERROR(ENOMEM), "not enough memory", true};
    const int code = cover ? DecodeCover(stream, *decoder, *frame) : DecodeFromATenth(*format, streamIndex, *decoder, *frame);
    if (code < 0) return FromError(source, code, "decode a picture", request.TimeoutMs);
    result.JpegWidth = request.Width;
    if (Outcome encoded = EncodeJpeg(*frame, result); !encoded.Ok()) return encoded;
    if (request.ThumbEdge > 0) return MakeRgb(*frame, request.ThumbEdge, result);
    return {};
}

}  // namespace

void FreeFrameOfFFmpeg(RvFrameResult& result) {
    std::free(result.Jpeg);
    std::free(result.Rgb);
    result.Jpeg = nullptr;
    result.Rgb = nullptr;
    result.JpegSize = 0;
}

void MakeFrameWithFFmpeg(const RvFrameRequest& request, RvFrameResult& result) {
    result = RvFrameResult{};
    MediaSource source{.Handle = request.Handle,
                       .Size = request.Size,
                       .Deadline = Clock::time_point(std::chrono::nanoseconds(request.DeadlineNs))};
    const Outcome outcome = request.Width > 0 ? Make(source, request, result) : NoFrame("no width asked for", AVERROR(EINVAL));
    if (outcome.Ok()) return;
    FreeFrameOfFFmpeg(result);
    result = RvFrameResult{};
    result.Code = outcome.Code;
    result.Failed = outcome.Failed ? 1 : 0;
    const std::size_t size = std::min(outcome.Why.size(), sizeof result.Why - 1);
    std::memcpy(result.Why, outcome.Why.data(), size);
    result.Why[size] = '\0';
}
