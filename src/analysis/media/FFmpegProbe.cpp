// SPDX-License-Identifier: GPL-3.0-or-later
// The FFmpeg half of the media probe: whether a file plays, and for how long. Built into the media
// module; the core hands it a file it has opened and checked.
#include "analysis/media/FFmpegProbe.h"

#include "analysis/media/FFmpegFacts.h"
#include "analysis/media/FFmpegInput.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_set>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace {

using Clock = std::chrono::steady_clock;

// The outcome of one probe, before it becomes a MediaInfo.
struct Verdict {
    int Code = 0;  // 0 for media; otherwise negative
    std::int64_t LengthMs = 0;
    std::string Why;
    bool Failed = false;  // could not examine, as opposed to not media
};

Verdict NotMedia(std::string why, int code = AVERROR_INVALIDDATA) { return {code, 0, std::move(why), false}; }

Verdict CouldNotExamine(int errNumber) { return {AVERROR(errNumber), 0, std::strerror(errNumber), true}; }

// What an FFmpeg failure means: the file was unreadable or took too long, or is simply not media.
Verdict FromError(const MediaSource& source, int code, std::chrono::milliseconds timeout) {
    if (source.TimedOut)
        return {AVERROR_EXIT, 0, "gave up after " + std::to_string(timeout.count()) + " ms", true};
    if (source.ReadError != 0) return CouldNotExamine(source.ReadError);
    if (code == AVERROR(ENOMEM)) return CouldNotExamine(ENOMEM);
    return NotMedia("not recognised (" + ErrorText(code) + ")", code);
}

// Containers of pictures or text: some give a "video" stream with a length (an ANSI-art text file
// plays 40 ms), none is something to play.
bool IsImageOrTextDemuxer(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "image2", "image2pipe", "gif", "apng", "tty", "bin", "xbin", "adf", "idf", "ico",
        "alias_pix", "brender_pix", "lrc", "srt", "ass", "webvtt", "microdvd", "subviewer",
        "subviewer1", "mpl2", "sami", "jacosub", "pjs", "realtext", "stl", "vplayer", "aqtitle",
        "mpsub",
    };
    return name.ends_with("_pipe") || std::ranges::find(kNames, name) != std::end(kNames);
}

bool IsStillImageCodec(AVCodecID id) {
    static constexpr AVCodecID kStill[] = {
        AV_CODEC_ID_PNG,    AV_CODEC_ID_BMP,    AV_CODEC_ID_TIFF,    AV_CODEC_ID_WEBP,  AV_CODEC_ID_JPEG2000,
        AV_CODEC_ID_ANSI,   AV_CODEC_ID_GIF,    AV_CODEC_ID_TARGA,   AV_CODEC_ID_PPM,   AV_CODEC_ID_PGM,
        AV_CODEC_ID_PBM,    AV_CODEC_ID_PAM,    AV_CODEC_ID_SGI,     AV_CODEC_ID_PCX,   AV_CODEC_ID_XBM,
        AV_CODEC_ID_XWD,    AV_CODEC_ID_DPX,    AV_CODEC_ID_EXR,     AV_CODEC_ID_SUNRAST, AV_CODEC_ID_PHOTOCD,
        AV_CODEC_ID_QOI,    AV_CODEC_ID_JPEGXL, AV_CODEC_ID_PGX,
    };
    return std::ranges::find(kStill, id) != std::end(kStill);
}

// Sound, or a picture that moves: a cover (attached picture) or a still image is neither.
bool HasSoundOrMovingPicture(const AVFormatContext& format) {
    for (const AVStream* stream : std::span(format.streams, format.nb_streams)) {
        const AVCodecParameters& codec = *stream->codecpar;
        if (codec.codec_type == AVMEDIA_TYPE_AUDIO) return true;
        if (codec.codec_type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
            !IsStillImageCodec(codec.codec_id))
            return true;
    }
    return false;
}

// A length guessed from the bit rate is wrong for a variable bit rate (1742 ms for 2534 ms of MP3
// without a Xing header). Reading the packets, without decoding them, measures it cheaply: the end
// of the last packet of the main stream less the stream's start. 0 when there is nothing to
// measure; AVERROR_EXIT or a read error when the scan could not finish.
std::int64_t MeasuredLength(AVFormatContext& format, const MediaSource& source) {
    int index = av_find_best_stream(&format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) index = av_find_best_stream(&format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) return 0;
    const AVStream& stream = *format.streams[index];
    const PacketPtr packet(av_packet_alloc());
    if (!packet) return AVERROR(ENOMEM);

    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t end = std::numeric_limits<std::int64_t>::min();
    int code = 0;
    while ((code = av_read_frame(&format, packet.get())) >= 0) {
        std::int64_t packetEnd = 0;  // a corrupt file can give any time stamp
        if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE &&
            !__builtin_add_overflow(packet->pts, packet->duration, &packetEnd)) {
            first = std::min(first, packet->pts);
            end = std::max(end, packetEnd);
        }
        av_packet_unref(packet.get());
    }
    // Other failures are damage near the end: what was measured up to there is what plays.
    if (source.TimedOut || source.ReadError != 0) return code;
    const std::int64_t start = stream.start_time != AV_NOPTS_VALUE ? stream.start_time : first;
    std::int64_t span = 0;
    if (end <= start || __builtin_sub_overflow(end, start, &span)) return 0;
    if (stream.time_base.num <= 0 || stream.time_base.den <= 0) return 0;
    return av_rescale_q_rnd(span, stream.time_base, AVRational{1, 1000}, AV_ROUND_NEAR_INF);
}

// Milliseconds; 0 when unknown; negative when measuring it failed.
std::int64_t LengthOf(AVFormatContext& format, const MediaSource& source) {
    if (format.duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) return MeasuredLength(format, source);
    if (format.duration == AV_NOPTS_VALUE || format.duration <= 0) return 0;
    return av_rescale_rnd(format.duration, 1000, AV_TIME_BASE, AV_ROUND_NEAR_INF);
}

// Bounds on what one probe reads and decodes, on top of the deadline.
constexpr int kIOBufferSize = 32 * 1024;
constexpr std::int64_t kProbeBytes = 5'000'000;
constexpr std::int64_t kAnalyzeMicroseconds = 5 * AV_TIME_BASE;

// A format context reading through source, opened on its contents, or the reason why not.
Verdict OpenFormat(MediaSource& source, const std::string& path, std::chrono::milliseconds timeout,
                   IOContextPtr& io, FormatContextPtr& format) {
    const InputLimits limits{.IOBufferSize = kIOBufferSize, .ProbeBytes = kProbeBytes, .AnalyzeMicroseconds = kAnalyzeMicroseconds};
    const OpenedInput opened = OpenInput(source, path.c_str(), limits, io, format);
    if (opened.Code == 0) return {};
    if (opened.FailedAt != OpenedInput::Stage::Setting) return FromError(source, opened.Code, timeout);
    if (opened.Code == AVERROR(ENOMEM)) return CouldNotExamine(ENOMEM);
    return {opened.Code, 0, ErrorText(opened.Code), true};
}

// The extensions, lower-cased, that some demuxer of sound or moving pictures claims.
bool IsMediaExtension(const std::string& path) {
    static const std::unordered_set<std::string> kClaimed = [] {
        std::unordered_set<std::string> claimed;
        void* iterator = nullptr;
        while (const AVInputFormat* format = av_demuxer_iterate(&iterator)) {
            if (!format->extensions || IsImageOrTextDemuxer(format->name)) continue;
            std::string_view list = format->extensions;
            for (std::size_t comma; !list.empty(); list.remove_prefix(comma == list.npos ? list.size() : comma + 1)) {
                comma = list.find(',');
                claimed.emplace(list.substr(0, comma));
            }
        }
        return claimed;
    }();
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return kClaimed.contains(extension);
}

// The first bytes FFmpeg's own detection looks at when it opens a file, and the most it is asked
// to look at here before the full probe.
constexpr std::size_t kFirstDetectionBytes = 2048;
constexpr std::size_t kSniffBytes = 8 * 1024;

// FFmpeg's own detection on the first bytes alone, as avformat_open_input starts it: the file
// taken as opened, its path as the hint, no MIME type. The best format, or null; score its score.
const AVInputFormat* Detect(std::span<const unsigned char> start, const char* path, int& score) {
    std::array<unsigned char, kSniffBytes + AVPROBE_PADDING_SIZE> padded;  // the detectors read past the end
    const std::size_t size = std::min(start.size(), kSniffBytes);
    std::copy_n(start.begin(), size, padded.begin());
    std::fill_n(padded.begin() + static_cast<std::ptrdiff_t>(size), AVPROBE_PADDING_SIZE, 0);
    AVProbeData probe{path, padded.data(), static_cast<int>(size), nullptr};
    score = 0;
    return av_probe_input_format3(&probe, 1, &score);
}

// An ID3 tag (which can hide where the sound begins) or an extension a demuxer of sound or moving
// pictures claims: such a file always gets the full probe.
bool ClaimedAsMedia(std::span<const unsigned char> start, const std::string& path) {
    return (start.size() >= 3 && std::memcmp(start.data(), "ID3", 3) == 0) || IsMediaExtension(path);
}

// The full probe reads on through megabytes of a file that no format claims, and a folder of
// downloads or documents is full of such files. A file not ClaimedAsMedia is plainly not media
// when FFmpeg's detection on its first 8 KiB scores no higher than FFmpeg's own "misdetection
// possible" bar. The first 2 KiB answer most files (firstScore is their score); nothing at all
// there is taken as no. A file no longer than that has been seen whole: the same bytes would score
// the same. The core hands over up to 8 KiB; only a shorter start of a longer file is read again.
bool MayBeMedia(const MediaSource& source, std::span<const unsigned char> start, const std::string& path, int firstScore) {
    if (firstScore == 0 || firstScore > AVPROBE_SCORE_RETRY) return firstScore > 0;
    if (start.size() <= kFirstDetectionBytes && static_cast<std::int64_t>(start.size()) >= source.Size) return false;
    if (start.size() < kFirstDetectionBytes) return false;
    std::array<unsigned char, kSniffBytes> more;
    if (static_cast<std::int64_t>(start.size()) < std::min<std::int64_t>(kSniffBytes, source.Size)) {
        const ssize_t count = pread(source.Handle, more.data(), more.size(), 0);
        start = std::span(more).first(static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    int score = 0;
    if (!start.empty()) Detect(start, path.c_str(), score);
    return score > AVPROBE_SCORE_RETRY;
}

Verdict PictureOrText(std::string_view demuxer) { return NotMedia("a picture or text format (" + std::string(demuxer) + ")"); }

// The facts of a media file are read from the context the verdict opened: no second open.
Verdict FullProbe(MediaSource& source, const std::string& path, std::chrono::milliseconds timeout, RvMediaFacts& facts) {
    IOContextPtr io;
    FormatContextPtr format;  // declared after io, so it is closed before io is freed
    if (Verdict opened = OpenFormat(source, path, timeout, io, format); opened.Code != 0) return opened;

    const std::string_view demuxer = format->iformat->name;
    if (IsImageOrTextDemuxer(demuxer)) return PictureOrText(demuxer);
    if (!HasSoundOrMovingPicture(*format)) return NotMedia("no sound and no moving picture");
    const std::int64_t length = LengthOf(*format, source);
    if (length < 0) return FromError(source, static_cast<int>(length), timeout);
    if (length == 0) return NotMedia("its length is unknown");
    ReadFacts(*format, facts);
    Verdict media;
    media.LengthMs = length;
    return media;
}

// Pictures and documents are most of a desktop's files. When the detection avformat_open_input
// starts with already settles on a picture or text format, opening the file would only decode the
// picture (an SVG icon through a whole vector renderer) to reach the same verdict.
Verdict Probe(MediaSource& source, std::span<const unsigned char> start, const std::string& path,
              std::chrono::milliseconds timeout, RvMediaFacts& facts) {
    if (ClaimedAsMedia(start, path)) return FullProbe(source, path, timeout, facts);  // which detects anyway
    int score = 0;
    const AVInputFormat* detected = Detect(start.first(std::min(start.size(), kFirstDetectionBytes)), path.c_str(), score);
    if (detected && score > AVPROBE_SCORE_RETRY && IsImageOrTextDemuxer(detected->name))
        return PictureOrText(detected->name);
    // The game-music reader scores every tune it knows at the "retry" bar and no higher below 16 KiB,
    // so the bar would turn away every chip tune.
    if (detected && std::string_view(detected->name) == "libgme") return FullProbe(source, path, timeout, facts);
    if (!MayBeMedia(source, start, path, score)) return NotMedia("no media format knows it");
    return FullProbe(source, path, timeout, facts);
}

// FFmpeg believes the sizes a file states: a WAV of 486 bytes whose INFO item claims 1.9 GB gets a
// zeroed buffer that large, and a scan probes several files at once. The largest block a real
// probe needs, one decoded frame, stays below this even for 8K video at 16 bits in 4:4:4.
constexpr std::size_t kMaxFFmpegBlock = std::size_t{256} << 20;

void Answer(const Verdict& verdict, RvMediaVerdict& answer) {
    answer.Code = verdict.Code;
    answer.LengthMs = verdict.LengthMs;
    answer.Failed = verdict.Failed ? 1 : 0;
    const std::size_t size = std::min(verdict.Why.size(), sizeof answer.Why - 1);
    std::memcpy(answer.Why, verdict.Why.data(), size);
    answer.Why[size] = '\0';
}

std::string VersionText(unsigned version) {
    return std::to_string(AV_VERSION_MAJOR(version)) + "." + std::to_string(AV_VERSION_MINOR(version)) + "." +
           std::to_string(AV_VERSION_MICRO(version));
}

// "" when the FFmpeg found at run time is the one the module was built for.
std::string VersionMismatch(const char* library, unsigned found, unsigned built) {
    if (AV_VERSION_MAJOR(found) == AV_VERSION_MAJOR(built)) return {};
    return std::string(library) + " is version " + VersionText(found) + ", the media module was built for " +
           VersionText(built);
}

}  // namespace

std::string SetUpFFmpeg() {
    for (const std::string& mismatch :
         {VersionMismatch("libavformat", avformat_version(), LIBAVFORMAT_VERSION_INT),
          VersionMismatch("libavcodec", avcodec_version(), LIBAVCODEC_VERSION_INT),
          VersionMismatch("libavutil", avutil_version(), LIBAVUTIL_VERSION_INT)}) {
        if (!mismatch.empty()) return mismatch;
    }
    av_log_set_level(AV_LOG_QUIET);
    av_max_alloc(kMaxFFmpegBlock);
    return {};
}

std::string FFmpegVersions() {
    return std::string(av_version_info()) + " (libavformat " + VersionText(avformat_version()) + ", libavcodec " +
           VersionText(avcodec_version()) + ", libavutil " + VersionText(avutil_version()) + ")";
}

bool NameClaimedByMedia(const std::string& path) { return IsMediaExtension(path); }

void ProbeWithFFmpeg(const RvMediaRequest& request, RvMediaVerdict& answer) {
    MediaSource source{.Handle = request.Handle,
                       .Size = request.Size,
                       .Deadline = Clock::time_point(std::chrono::nanoseconds(request.DeadlineNs))};
    const std::span<const unsigned char> start(request.Header, request.HeaderSize);
    Answer(Probe(source, start, request.Path, std::chrono::milliseconds(request.TimeoutMs), answer.Facts), answer);
}
