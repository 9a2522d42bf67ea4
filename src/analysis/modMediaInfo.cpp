// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modMediaInfo.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "analysis/ContentCheck.h"
#include "analysis/MediaModule.h"
#include "analysis/cFile.h"

namespace {

// "RIFF", then 4-byte groups from byte 4 to the one starting at byte 512, then a handler's 4 bytes.
constexpr std::size_t kFourCCBytes = 520;
constexpr std::size_t kLastGroup = 512;
// The first bytes of a file: enough for the FourCC, the content check and FFmpeg's first looks.
constexpr std::size_t kHeaderSize = kContentCheckBytes;

std::string FourCCInHeader(std::span<const unsigned char> header) {
    const auto holds = [header](std::size_t offset, std::string_view text) {
        return offset + 4 <= header.size() && std::memcmp(header.data() + offset, text.data(), 4) == 0;
    };
    if (!holds(0, "RIFF")) return {};
    for (std::size_t offset = 4; offset <= kLastGroup && offset + 4 <= header.size(); offset += 4) {
        if (!holds(offset, "vids")) continue;
        if (offset + 8 > header.size()) return {};
        return std::string(reinterpret_cast<const char*>(header.data()) + offset + 4, 4);
    }
    return {};
}

// The first kHeaderSize bytes, fewer only when the file is shorter; -1 when a read fails.
std::int64_t ReadHeader(cFile& file, std::span<unsigned char> header) {
    std::size_t filled = 0;
    while (filled < header.size()) {
        const std::int64_t count = file.ReadFromFile(header.subspan(filled));
        if (count < 0) return -1;
        if (count == 0) break;
        filled += static_cast<std::size_t>(count);
    }
    return static_cast<std::int64_t>(filled);
}

MediaInfo NotExamined(MediaInfo info, const std::string& path, int errNumber) {
    info.Length = -errNumber;
    info.ProbeFailed = true;
    info.Reason = "Could not read " + path + ": " + std::strerror(errNumber);
    return info;
}

MediaInfo NotMedia(MediaInfo info, const std::string& path, int code, const std::string& why) {
    info.Length = code;
    info.Reason = path + " is not a media file: " + why;
    return info;
}

std::vector<MediaStream> Streams(const RvMediaStreamFacts* streams, int count) {
    std::vector<MediaStream> kept;
    for (int i = 0; i < std::min(count, RV_MEDIA_MAX_STREAMS); ++i)
        kept.push_back({streams[i].Codec, streams[i].Language, streams[i].Channels, streams[i].SampleRate});
    return kept;
}

MediaFacts FactsOf(const RvMediaFacts& read) {
    MediaFacts facts{read.Container, read.VideoCodec, read.Width, read.Height, read.FrameRate, read.BitRate,
                     read.HDR != 0, Streams(read.Audio, read.AudioCount), read.SubtitleCount,
                     Streams(read.Subtitles, read.SubtitleCount), read.Title, read.Artist, read.Album, read.Date,
                     read.Comment};
    return facts;
}

MediaInfo Conclude(MediaInfo info, const std::string& path, const RvMediaVerdict& verdict) {
    if (verdict.Code == 0) {
        info.IsMedia = true;
        info.Facts = FactsOf(verdict.Facts);
        info.Length = static_cast<std::int32_t>(
            std::min<std::int64_t>(verdict.LengthMs, std::numeric_limits<std::int32_t>::max()));
        return info;
    }
    if (!verdict.Failed) return NotMedia(std::move(info), path, verdict.Code, verdict.Why);
    info.Length = verdict.Code;
    info.ProbeFailed = true;
    info.Reason = "Could not read " + path + ": " + verdict.Why;
    return info;
}

// FFmpeg's error codes, without FFmpeg: the negated errno, its "End of file", and the "Invalid data
// found" that FFmpeg gives a file none of its formats reads.
constexpr int kEndOfFile = -static_cast<int>(('E') | ('O' << 8) | ('F' << 16) | (' ' << 24));
constexpr int kInvalidData = -static_cast<int>(('I') | ('N' << 8) | ('D' << 16) | ('A' << 24));

std::string FourCCOf(std::span<const unsigned char> first) { return FourCCInHeader(first.first(std::min(first.size(), kFourCCBytes))); }

// The verdict FFmpeg would give, when the first bytes settle it; nullopt when FFmpeg must look.
std::optional<MediaInfo> SettledByContent(const std::string& path, std::span<const unsigned char> first, std::int64_t size) {
    const std::string_view format = FormatNoMediaReads(first, size);
    if (format.empty()) return std::nullopt;
    const MediaModule& module = MediaModule::Get();
    if (!module.Unavailable().empty() || module.NameClaimed(path)) return std::nullopt;
    MediaInfo info;
    info.FourCC = FourCCOf(first);
    return NotMedia(std::move(info), path, kInvalidData, std::string(format));
}

}  // namespace

MediaInfo GetMediaInfo(const std::string& path, std::chrono::milliseconds timeout, MediaDetection detection) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    MediaInfo info;
    cFile file;
    int error = 0;
    file.Error = [&error](int errNumber, const std::string&) { error = errNumber; };

    // Non-blocking, so that a named pipe cannot hold the open forever; a plain file ignores it.
    if (file.OpenFile(path, O_RDONLY | O_NONBLOCK) < 0) return NotExamined(info, path, error ? error : ENOENT);
    if (!file.IsRegularFile())
        return error ? NotExamined(info, path, error) : NotMedia(info, path, -EINVAL, "not a plain file");
    const std::int64_t size = file.FileSize();
    std::array<unsigned char, kHeaderSize> header{};
    const std::int64_t headerSize = ReadHeader(file, header);
    if (size < 0 || headerSize < 0) return NotExamined(info, path, error ? error : EIO);
    const std::span<const unsigned char> first = std::span(header).first(static_cast<std::size_t>(headerSize));
    info.FourCC = FourCCOf(first);
    if (headerSize == 0) return NotMedia(info, path, kEndOfFile, "it is empty");
    if (detection == MediaDetection::ByContent)
        if (std::optional<MediaInfo> settled = SettledByContent(path, first, size)) return std::move(*settled);

    const MediaModule& module = MediaModule::Get();
    if (!module.Unavailable().empty()) {
        info.Length = -ENOSYS;
        info.Unprobed = true;
        info.Reason = "No media facts for " + path + ". " + module.Unavailable();
        return info;
    }
    const RvMediaRequest request{file.FileHandle(), size, path.c_str(), header.data(), static_cast<std::size_t>(headerSize),
                                 std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count(),
                                 timeout.count()};
    return Conclude(info, path, module.Probe(request));
}

MediaInfo GetMediaInfo(const std::string& path, std::span<const unsigned char> first, std::int64_t size) {
    if (!first.empty())
        if (std::optional<MediaInfo> settled = SettledByContent(path, first, size)) return std::move(*settled);
    return GetMediaInfo(path);
}

std::string TakeMediaNotice() {
    static std::atomic<bool> told{false};
    if (!MediaModule::Tried() || MediaModule::Get().Unavailable().empty() || told.exchange(true)) return {};
    return MediaModule::Get().Unavailable();
}

std::string MediaLibraryVersions() { return MediaModule::Get().FFmpegVersions(); }

bool IsMediaFile(const std::string& path) { return GetMediaInfo(path).IsMedia; }

std::int32_t GetMediaLength(const std::string& path) { return GetMediaInfo(path).Length; }

std::string GetFourCC(const std::string& path) {
    cFile file;
    std::array<unsigned char, kFourCCBytes> header{};
    if (file.OpenFile(path, O_RDONLY | O_NONBLOCK) < 0 || !file.IsRegularFile()) return {};
    const std::int64_t headerSize = ReadHeader(file, header);
    if (headerSize < 0) return {};
    return FourCCOf(std::span(header).first(static_cast<std::size_t>(headerSize)));
}
