// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ContentCheck.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::string_view Check(const std::string& bytes) {
    return FormatNoMediaReads({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()},
                              static_cast<std::int64_t>(bytes.size()));
}

std::string Gzip(const std::string& contents) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string packed(contents.size() + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(contents.data()));
    stream.avail_in = static_cast<uInt>(contents.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

std::string Repeat(const std::string& piece, std::size_t size) {
    std::string text;
    while (text.size() < size) text += piece;
    return text.substr(0, size);
}

std::string Prose() { return Repeat("The quick brown fox jumps over the lazy dog.\n", kContentCheckBytes); }

// Four bytes at an offset of otherwise plain prose.
std::string ProseWith(std::size_t offset, const std::string& part) { return Prose().replace(offset, part.size(), part); }

// Bytes that prove a format no demuxer of sound or moving pictures reads, and its name.
std::vector<std::pair<std::string, std::string_view>> Proven() {
    return {{"\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, "a PNG picture"},
            {"\xff\xd8\xff\xe0\0\x10JFIF"s, "a JPEG picture"},
            {"GIF89a\x10\0\x10\0"s, "a GIF picture"},
            {"RIFF\x24\0\0\0WEBPVP8 "s, "a WebP picture"},
            {"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n"s, "a PDF document"},
            {"PK\x03\x04\x14\0\0\0\x08\0"s, "a ZIP archive"},
            {Gzip(Prose()), "gzip-compressed data"},
            {Gzip(""), "gzip-compressed data"},
            {"\xfd" "7zXZ\0\0\x04"s, "xz-compressed data"},
            {"BZh91AY&SY\x12\x34"s, "bzip2-compressed data"},
            {"\x28\xb5\x2f\xfd\x24\x10"s, "zstd-compressed data"},
            {"\x7f" "ELF\x02\x01\x01\0"s, "an ELF program or library"},
            {"\0\1\0\0\0\x0b\0\x80\0\x03\0\x30"s, "a font"},  // 11 tables
            {"ttcf\0\1\0\0"s, "a font"},
            {"wOFF\0\1\0\0\0\0\0\x0c"s, "a font"},  // as long as it says
            {"\xde\x12\x04\x95\0\0\0\0"s, "a gettext catalogue"},
            {"SQLite format 3\0\x10\0"s, "an SQLite database"},
            {Prose(), "plain text"},
            {"[Desktop Entry]\nName=Files\nExec=nautilus\n"s, "plain text"},
            {"\xef\xbb\xbf# shell comment\nécho «bonjour» — ok\n"s, "plain text"},
            {"{\n  \"name\": \"package\",\n  \"version\": \"1.0\"\n}\n"s, "plain text"},
            {"<?xml version=\"1.0\"?>\n<config><item/></config>\n"s, "an XML document"},
            {"<!DOCTYPE html>\n<html><body>Hello</body></html>\n"s, "an HTML document"},
            {"<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n"s, "an SVG picture"}};
}

// Each of these is, or may be, read by a demuxer of sound or moving pictures, or is subtitles or a
// playlist FFmpeg reads: FFmpeg must see them.
std::vector<std::string> MaybeMedia() {
    return {"#EXTM3U\n#EXT-X-TARGETDURATION:3\n#EXTINF:2.5,\nclip.ts\n"s,
            "ffconcat version 1.0\nfile clip.wav\n"s,
            "v=0\no=- 0 0 IN IP4 127.0.0.1\ns=Talk\nc=IN IP4 239.0.0.1\nm=audio 5004 RTP/AVP 0\n"s,
            "1\n00:00:01,000 --> 00:00:02,500\nHello\n"s,
            "WEBVTT\n\n00:01.000 --> 00:02.500\nHello\n"s,
            "[Script Info]\nTitle: Talk\n[Events]\n"s,
            "{1}{25}Hello|World\n{26}{50}Again\n{51}{75}End\n"s,
            "<SAMI><BODY><SYNC Start=0><P>Hello</SAMI>\n"s,
            "[00:01.00]A line of a song\n[00:03.50]Another\n"s,
            "[ar:Someone]\n[ti:A song]\n"s,
            ";FFMETADATA1\ntitle=A film\n"s,
            "\x1b[1;31mANSI art\x1b[0m\n"s,
            "#!AMR\nspeech follows"s,
            "YUV4MPEG2 W160 H120 F25:1 Ip A1:1\nFRAME\n"s,
            "RIFF\x24\0\0\0WAVEfmt "s,
            "ID3 tags are described here\n"s,
            "# Beat script\nalpha: 200+10/20\nNOW alpha\n"s,
            "{\"captions\": [{\"duration\": 2000, \"content\": \"Hi\", \"startTime\": 0}]}"s,
            "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\"/>\n"s,
            "xxxxfree this could be a QuickTime atom\n"s,
            Gzip("Vgm \x10\x02\0\0"s + Prose()),
            Gzip(Prose()).substr(0, 12),
            ProseWith(1080, "M.K."),
            ProseWith(1080, "8CHN"),
            ProseWith(44, "SCRM"),
            Repeat("G" + std::string(187, 'x'), 4096),
            Repeat("\xe2\x94\x80"s, 4095),
            ProseWith(100, "V\xe0\xa0\x80"s),
            Repeat("abab" + std::string(28, ' '), 4096),
            "\x89PNG\r\n"s,
            "\0\1\0\0\0\x0b\0\x40\0\x03\0\x30"s,  // a font's searchRange that does not fit
            "wOFF\0\1\0\0\0\0\0\x0d"s,           // a web font of another length
            std::string("\x12\x9e\x7c\x01\xa5\x5a\x00\xff\x33", 9)};
}

}  // namespace

TEST(ContentCheck, NamesWhatTheFirstBytesProveAndLeavesToFFmpegWhatAnyOfItsReadersMayClaim) {
    for (const auto& [bytes, format] : Proven()) EXPECT_EQ(Check(bytes), format) << bytes.substr(0, 40);
    for (const std::string& bytes : MaybeMedia()) EXPECT_EQ(Check(bytes), "") << bytes.substr(0, 40);
}

TEST(ContentCheck, TextCutByTheEndOfTheLookIsStillText) {
    const std::string text = ProseWith(kContentCheckBytes - 1, "\xc3\xaf");  // a character of two bytes cut in half
    const std::span first(reinterpret_cast<const unsigned char*>(text.data()), kContentCheckBytes);
    EXPECT_EQ(FormatNoMediaReads(first, 1 << 20), "plain text");
    EXPECT_EQ(FormatNoMediaReads(first, kContentCheckBytes), "");  // the whole file: it ends in half a character
}

// Random bytes or prose behind the starts of every case above, cut at every length of the start and
// at random lengths beyond: each buffer is a block of its own size, so that a sanitizer sees any
// read past it.
TEST(ContentCheck, AnyBytesCutAnywhereGetAnAnswer) {
    const unsigned seed = std::random_device{}();
    std::printf("seed %u\n", seed);
    std::mt19937 random(seed);
    std::vector<std::string> starts = MaybeMedia();
    for (const auto& [bytes, format] : Proven()) starts.push_back(bytes);
    for (const std::string& whole : starts) {
        for (const bool prose : {false, true}) {
            std::string bytes = whole.substr(0, 64) + Prose().substr(0, random() % 9000);
            if (!prose) std::generate(bytes.begin() + std::min<std::size_t>(whole.size(), 64), bytes.end(), std::ref(random));
            for (std::size_t cut = 0; cut <= std::min(bytes.size(), kContentCheckBytes); cut += cut < 64 ? 1 : 1 + random() % 151) {
                const auto block = std::make_unique<unsigned char[]>(std::max<std::size_t>(cut, 1));
                std::memcpy(block.get(), bytes.data(), cut);
                for (const std::int64_t size : {std::int64_t(cut), std::int64_t(bytes.size()) + 1}) {
                    const std::string_view format = FormatNoMediaReads({block.get(), cut}, size);
                    EXPECT_TRUE(format.empty() || format.starts_with("a") || format.ends_with("data") ||
                                format == "plain text")
                        << format;
                }
            }
        }
    }
}
