// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ContentCheck.h"

#include <zlib.h>

#include <array>
#include <bit>
#include <cstring>

#include "analysis/TextSignatures.h"

namespace {

using Bytes = std::span<const unsigned char>;
using namespace std::string_view_literals;

bool HasAt(Bytes bytes, std::size_t at, std::string_view text) {
    return at + text.size() <= bytes.size() && std::memcmp(bytes.data() + at, text.data(), text.size()) == 0;
}

unsigned BigEndian16(Bytes bytes, std::size_t at) { return bytes[at] << 8 | bytes[at + 1]; }

std::uint32_t BigEndian32(Bytes bytes, std::size_t at) {
    return std::uint32_t{BigEndian16(bytes, at)} << 16 | BigEndian16(bytes, at + 2);
}

struct Signature {
    std::string_view Magic;
    std::string_view Format;
};

// Each begins with a byte that no text has, and none is a demuxer's of sound or moving pictures.
constexpr Signature kSignatures[] = {
    {"\x89PNG\r\n\x1a\n"sv, "a PNG picture"},
    {"\xff\xd8\xff"sv, "a JPEG picture"},
    {"PK\x03\x04"sv, "a ZIP archive"},
    {"PK\x05\x06"sv, "a ZIP archive"},
    {"\xfd" "7zXZ\0"sv, "xz-compressed data"},
    {"\x28\xb5\x2f\xfd"sv, "zstd-compressed data"},
    {"\x7f" "ELF\x01"sv, "an ELF program or library"},
    {"\x7f" "ELF\x02"sv, "an ELF program or library"},
    {"\xde\x12\x04\x95"sv, "a gettext catalogue"},
    {"\x95\x04\x12\xde"sv, "a gettext catalogue"},
    {"SQLite format 3\0"sv, "an SQLite database"},
};

// A font's table directory: a count of tables and three fields derived from it.
bool HoldsFontTables(Bytes bytes) {
    if (bytes.size() < 12) return false;
    const unsigned tables = BigEndian16(bytes, 4);
    if (tables == 0 || tables > 64) return false;
    const unsigned selector = std::bit_width(tables) - 1;
    const unsigned range = 16u << selector;
    return BigEndian16(bytes, 6) == range && BigEndian16(bytes, 8) == selector &&
           BigEndian16(bytes, 10) == tables * 16 - range;
}

bool IsFont(Bytes bytes, std::int64_t size) {
    if (HasAt(bytes, 0, "\0\1\0\0"sv) || HasAt(bytes, 0, "OTTO") || HasAt(bytes, 0, "true")) return HoldsFontTables(bytes);
    if (HasAt(bytes, 0, "ttcf")) return HasAt(bytes, 4, "\0\1\0\0"sv) || HasAt(bytes, 4, "\0\2\0\0"sv);
    // A web font states its own length.
    return (HasAt(bytes, 0, "wOFF") || HasAt(bytes, 0, "wOF2")) && bytes.size() >= 12 && BigEndian32(bytes, 8) == size;
}

bool IsBzip2(Bytes bytes) {
    return HasAt(bytes, 0, "BZh") && bytes.size() >= 10 && bytes[3] >= '1' && bytes[3] <= '9' &&
           (HasAt(bytes, 4, "1AY&SY") || HasAt(bytes, 4, "\x17rE8P\x90"sv));
}

// The game-music library FFmpeg uses claims every gzip stream, and plays one that holds a VGM
// tune; so a gzip stream is only known not to be media once its first bytes are unpacked.
bool IsGzipOfNoTune(Bytes bytes) {
    if (!HasAt(bytes, 0, "\x1f\x8b\x08"sv)) return false;
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return false;
    std::array<unsigned char, 4> start{};
    stream.next_in = const_cast<unsigned char*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = start.data();
    stream.avail_out = start.size();
    const int code = inflate(&stream, Z_SYNC_FLUSH);
    inflateEnd(&stream);
    if (stream.avail_out == 0) return std::memcmp(start.data(), "Vgm ", 4) != 0;
    return code == Z_STREAM_END;  // all of it unpacked to less than a tune's tag; a cut or damaged one is left to FFmpeg
}

std::string_view BinaryFormat(Bytes bytes, std::int64_t size) {
    for (const auto& [magic, format] : kSignatures)
        if (HasAt(bytes, 0, magic)) return format;
    if (HasAt(bytes, 0, "GIF87a") || HasAt(bytes, 0, "GIF89a")) return "a GIF picture";
    if (HasAt(bytes, 0, "RIFF") && HasAt(bytes, 8, "WEBP")) return "a WebP picture";
    if (HasAt(bytes, 0, "%PDF-")) return "a PDF document";
    if (IsGzipOfNoTune(bytes)) return "gzip-compressed data";
    if (IsBzip2(bytes)) return "bzip2-compressed data";
    if (IsFont(bytes, size)) return "a font";
    return {};
}

}  // namespace

std::string_view FormatNoMediaReads(std::span<const unsigned char> first, std::int64_t size) {
    if (first.empty()) return {};
    if (const std::string_view format = BinaryFormat(first, size); !format.empty()) return format;
    return PlainTextFormat(first, size);
}
