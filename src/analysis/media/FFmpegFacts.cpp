// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/media/FFmpegFacts.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

// Copies text into the buffer, cut at a whole UTF-8 character: a tag may be of any length, and
// half a character would make the stored text invalid.
template <std::size_t N>
void Put(char (&buffer)[N], std::string_view text) {
    std::size_t size = std::min(text.size(), N - 1);
    if (size < text.size())
        while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    if (size > 0) std::memcpy(buffer, text.data(), size);  // an absent tag's text has no data at all
    buffer[size] = '\0';
}

std::string_view Tag(const AVDictionary* tags, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
    return entry && entry->value ? entry->value : "";
}

bool Moving(const AVStream& stream) {
    static constexpr AVCodecID kStill[] = {AV_CODEC_ID_PNG, AV_CODEC_ID_BMP, AV_CODEC_ID_TIFF, AV_CODEC_ID_WEBP,
                                           AV_CODEC_ID_GIF, AV_CODEC_ID_JPEG2000, AV_CODEC_ID_ANSI};
    return !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC) &&
           std::ranges::find(kStill, stream.codecpar->codec_id) == std::end(kStill);
}

double Rate(const AVStream& stream) {
    for (const AVRational rate : {stream.avg_frame_rate, stream.r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0) return av_q2d(rate);
    }
    return 0;
}

void ReadVideo(const AVFormatContext& format, const AVStream& stream, RvMediaFacts& facts) {
    const AVCodecParameters& codec = *stream.codecpar;
    Put(facts.VideoCodec, avcodec_get_name(codec.codec_id));
    facts.Width = std::max(codec.width, 0);
    facts.Height = std::max(codec.height, 0);
    facts.FrameRate = Rate(stream);
    facts.BitRate = codec.bit_rate > 0 ? codec.bit_rate : std::max<std::int64_t>(format.bit_rate, 0);
    facts.HDR = codec.color_trc == AVCOL_TRC_SMPTE2084 || codec.color_trc == AVCOL_TRC_ARIB_STD_B67;
}

void ReadStream(const AVStream& stream, RvMediaStreamFacts& facts) {
    const AVCodecParameters& codec = *stream.codecpar;
    Put(facts.Codec, avcodec_get_name(codec.codec_id));
    Put(facts.Language, Tag(stream.metadata, "language"));
    if (codec.codec_type != AVMEDIA_TYPE_AUDIO) return;
    facts.Channels = std::max(codec.ch_layout.nb_channels, 0);
    facts.SampleRate = std::max(codec.sample_rate, 0);
}

// Ogg and some others keep the tags with the stream rather than the container.
std::string_view FileTag(const AVFormatContext& format, const char* key) {
    if (const std::string_view value = Tag(format.metadata, key); !value.empty()) return value;
    for (const AVStream* stream : std::span(format.streams, format.nb_streams)) {
        if (stream->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) continue;
        return Tag(stream->metadata, key);
    }
    return {};
}

}  // namespace

void ReadFacts(const AVFormatContext& format, RvMediaFacts& facts) {
    facts = RvMediaFacts{};
    Put(facts.Container, format.iformat ? format.iformat->name : "");
    bool video = false;
    for (const AVStream* stream : std::span(format.streams, format.nb_streams)) {
        switch (stream->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (!video && Moving(*stream)) ReadVideo(format, *stream, facts);
            video = video || Moving(*stream);
            break;
        case AVMEDIA_TYPE_AUDIO:
            if (facts.AudioCount < RV_MEDIA_MAX_STREAMS) ReadStream(*stream, facts.Audio[facts.AudioCount]);
            ++facts.AudioCount;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            if (facts.SubtitleCount < RV_MEDIA_MAX_STREAMS) ReadStream(*stream, facts.Subtitles[facts.SubtitleCount]);
            ++facts.SubtitleCount;
            break;
        default: break;
        }
    }
    Put(facts.Title, FileTag(format, "title"));
    Put(facts.Artist, FileTag(format, "artist"));
    Put(facts.Album, FileTag(format, "album"));
    std::string_view date = FileTag(format, "date");
    if (date.empty()) date = FileTag(format, "year");
    Put(facts.Date, date);
    Put(facts.Comment, FileTag(format, "comment"));
}
