// SPDX-License-Identifier: GPL-3.0-or-later
// What a media file is, beyond whether it plays and for how long: its container, its picture, its
// sound tracks, its subtitles and its tags, as the probe read them from the container.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MediaStream {
    std::string Codec;     // FFmpeg's name of the codec ("aac")
    std::string Language;  // the language tag as written ("fre"); "" when none
    int Channels = 0;      // sound only
    int SampleRate = 0;    // sound only, in Hz
    bool operator==(const MediaStream&) const = default;
};

struct MediaFacts {
    std::string Container;  // the demuxer's name ("matroska,webm")
    // The first moving picture; "" and 0 for a file of sound alone.
    std::string VideoCodec;
    int Width = 0;
    int Height = 0;
    double FrameRate = 0;      // frames per second; 0 when unknown
    std::int64_t BitRate = 0;  // bits per second of the picture, else of the whole file; 0 when unknown
    bool HDR = false;
    std::vector<MediaStream> Audio;      // in the file's order; at most 16 kept
    int SubtitleCount = 0;               // all of them, even past the 16 kept
    std::vector<MediaStream> Subtitles;  // Codec and Language only
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Date;  // as tagged: "2004" or "2004-05-01"
    std::string Comment;
    bool operator==(const MediaFacts&) const = default;

    // The year the date tag begins with; 0 when it does not begin with four digits.
    int Year() const;
    // "1920x1080", or "" without a picture.
    std::string Resolution() const;
    // The languages of the sound tracks, in order, each once, joined by ", ".
    std::string AudioLanguages() const;
};
