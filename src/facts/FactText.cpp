// SPDX-License-Identifier: GPL-3.0-or-later
#include "facts/FactText.h"

#include <cmath>
#include <cstdio>

const std::array<const char*, kFactColumnCount> kFactColumnHeaders = {"Resolution", "Video", "Audio", "Languages", "Year"};

namespace {

std::string Rate(double framesPerSecond) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g fps", framesPerSecond);
    return text;
}

std::string BitRate(std::int64_t bitsPerSecond) {
    char text[32];
    if (bitsPerSecond >= 1'000'000) std::snprintf(text, sizeof text, "%.1f Mb/s", static_cast<double>(bitsPerSecond) / 1e6);
    else std::snprintf(text, sizeof text, "%lld kb/s", static_cast<long long>((bitsPerSecond + 500) / 1000));
    return text;
}

// The parts that are known, joined by sep.
std::string Join(std::initializer_list<std::string> parts, const char* sep = ", ") {
    std::string text;
    for (const std::string& part : parts) {
        if (!part.empty()) text += (text.empty() ? "" : sep) + part;
    }
    return text;
}

std::string VideoText(const MediaFacts& facts) {
    if (facts.VideoCodec.empty()) return {};
    return Join({facts.VideoCodec, facts.FrameRate > 0 ? Rate(facts.FrameRate) : "", facts.HDR ? "HDR" : ""}, " ");
}

std::string AudioText(const MediaFacts& facts) {
    if (facts.Audio.empty()) return {};
    const MediaStream& first = facts.Audio.front();
    std::string text = Join({first.Codec, first.Channels > 0 ? std::to_string(first.Channels) + " ch" : ""}, " ");
    if (facts.Audio.size() > 1) text += " (+" + std::to_string(facts.Audio.size() - 1) + ")";
    return text;
}

std::string StreamLine(const MediaStream& stream) {
    return Join({stream.Codec, stream.Channels > 0 ? std::to_string(stream.Channels) + " channels" : "",
                 stream.SampleRate > 0 ? std::to_string(stream.SampleRate) + " Hz" : "", stream.Language});
}

}  // namespace

std::string FactCellText(const MediaFacts* facts, int column) {
    if (!facts) return {};
    switch (column) {
    case ResolutionFact: return facts->Resolution();
    case VideoFact: return VideoText(*facts);
    case AudioFact: return AudioText(*facts);
    case LanguagesFact: return facts->AudioLanguages();
    case YearFact: return facts->Year() > 0 ? std::to_string(facts->Year()) : std::string();
    default: return {};
    }
}

double FactSortKey(const MediaFacts* facts, int column) {
    if (column == ResolutionFact) return facts ? facts->Height * 1e6 + facts->Width : 0;
    if (column == YearFact) return facts ? facts->Year() : 0;
    return -1;
}

std::string DescribeFacts(const MediaFacts& facts) {
    std::string text = "Container: " + facts.Container + "\n";
    if (!facts.VideoCodec.empty())
        text += "Video: " + Join({facts.VideoCodec, facts.Resolution(), facts.FrameRate > 0 ? Rate(facts.FrameRate) : "",
                                  facts.BitRate > 0 ? BitRate(facts.BitRate) : "", facts.HDR ? "HDR" : ""}) + "\n";
    for (std::size_t i = 0; i < facts.Audio.size(); ++i)
        text += "Audio " + std::to_string(i + 1) + ": " + StreamLine(facts.Audio[i]) + "\n";
    if (facts.SubtitleCount > 0) {
        std::string languages;
        for (const MediaStream& stream : facts.Subtitles) languages = Join({languages, stream.Language});
        text += "Subtitles: " + std::to_string(facts.SubtitleCount) + (languages.empty() ? "" : " (" + languages + ")") + "\n";
    }
    for (const auto& [name, value] : {std::pair{"Title", &facts.Title}, {"Artist", &facts.Artist}, {"Album", &facts.Album},
                                      {"Date", &facts.Date}, {"Comment", &facts.Comment}}) {
        if (!value->empty()) text += std::string(name) + ": " + *value + "\n";
    }
    return text;
}
