// SPDX-License-Identifier: GPL-3.0-or-later
// Facts about a media file: whether it plays, its length, and an AVI file's video handler (FourCC).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "analysis/MediaFacts.h"

// How long one probe may take before it gives up; a corrupt or hostile file must not hold a
// directory scan.
inline constexpr std::chrono::milliseconds kMediaProbeTimeout{5000};

struct MediaInfo {
    // A playable media file: FFmpeg recognises it, it has sound or a moving picture (not only a
    // still image, a cover or text), and its length is known.
    bool IsMedia = false;
    // Whole milliseconds, rounded, up to INT32_MAX, when IsMedia; otherwise a negative error code
    // (FFmpeg's, or the negated errno).
    std::int32_t Length = 0;
    // GetFourCC's answer, read for every file whether media or not.
    std::string FourCC;
    // What the probe read of a media file from its container; empty when not IsMedia.
    std::optional<MediaFacts> Facts;
    // "" for a media file; otherwise a sentence naming the file and why it is not media.
    std::string Reason;
    // The file could not be examined (no access, read error, time-out), as opposed to examined and
    // found not to be media. Such a Reason is worth logging.
    bool ProbeFailed = false;
    // The media module or FFmpeg could not be loaded, so the file was taken as not media; Reason
    // names the file and ends with TakeMediaNotice's sentence. Worth logging too.
    bool Unprobed = false;
};

// Whether FFmpeg's detection may be spared a file whose first bytes settle it.
enum class MediaDetection {
    // A file whose first bytes prove a format that no demuxer of sound or moving pictures reads
    // (ContentCheck.h), and whose name no such demuxer claims, is answered without FFmpeg's detection.
    ByContent,
    // Every file goes to FFmpeg: the facts the content check must give again.
    FFmpegOnly,
};

// Probes the file once, for all its facts. Files that plainly are not media (missing, empty, not
// a plain file) are answered without FFmpeg; the first other file loads it, through the media
// module (see MediaModule.h). The probe reads only this file: whatever other file or address a
// playlist inside it names is not opened. For the whole process, FFmpeg's own log is silenced and
// no block FFmpeg allocates may exceed 256 MiB: a file whose probe asks for a larger one is not
// media (or, when FFmpeg says so, could not be examined for want of memory). Safe to call from
// several threads at once.
MediaInfo GetMediaInfo(const std::string& path, std::chrono::milliseconds timeout = kMediaProbeTimeout,
                       MediaDetection detection = MediaDetection::ByContent);

// As GetMediaInfo, for a file whose first bytes were read already (for its CRC): `first` holds its
// first kContentCheckBytes bytes, or all of a shorter file, and `size` its length. A file they
// settle is not opened again; any other is probed as GetMediaInfo probes it.
MediaInfo GetMediaInfo(const std::string& path, std::span<const unsigned char> first, std::int64_t size);

// "Media facts unavailable: REASON" the first time it is asked after a probe found the media
// module or FFmpeg unloadable; "" otherwise, and ever after, so that a front end says it once per
// process. Never loads the module itself.
std::string TakeMediaNotice();

// The FFmpeg that probes files, for a bug report: "5.1.9 (libavformat 59.27.100, ...)", or ""
// when it cannot be loaded. Loads the media module.
std::string MediaLibraryVersions();

// GetMediaInfo(path).IsMedia.
bool IsMediaFile(const std::string& path);
// GetMediaInfo(path).Length: milliseconds, or a negative error code when not playable media.
std::int32_t GetMediaLength(const std::string& path);

// For a RIFF file, the four bytes that follow the first "vids" standing at a multiple of 4 in
// bytes 4 to 515 (in an AVI file, the handler of its first video stream), exactly as stored (four
// zero bytes give four zero characters). "" for any other file, when there is no such "vids" or it
// has fewer than four bytes behind it, and when the file cannot be opened or read.
std::string GetFourCC(const std::string& path);
