// SPDX-License-Identifier: GPL-3.0-or-later
#include "facts/FactSearch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "store/clsSQLStatement.h"

namespace {

enum class Where { Media, Audio, Subtitle };

struct Fact {
    std::string_view Name;
    Where Table;
    std::string_view Column;
    bool Numeric;
    // When the file has the fact at all: a file of sound alone has no height, rather than a 0 that
    // "< 1080" would find, and a file without a date no year.
    std::string_view Known;
};

constexpr Fact kFacts[] = {
    {"width", Where::Media, "Width", true, "m.VideoCodec <> ''"},
    {"height", Where::Media, "Height", true, "m.VideoCodec <> ''"},
    {"video_codec", Where::Media, "VideoCodec", false, ""},
    {"frame_rate", Where::Media, "FrameRate", true, "m.VideoCodec <> ''"},
    {"bit_rate", Where::Media, "BitRate", true, "m.VideoCodec <> ''"},
    {"hdr", Where::Media, "HDR", true, "m.VideoCodec <> ''"},
    {"container", Where::Media, "Container", false, ""},
    {"audio_codec", Where::Audio, "Codec", false, ""},
    {"audio_language", Where::Audio, "Language", false, ""},
    {"channels", Where::Audio, "Channels", true, ""},
    {"sample_rate", Where::Audio, "SampleRate", true, ""},
    {"audio_tracks", Where::Media, "AudioCount", true, ""},
    {"subtitle_language", Where::Subtitle, "Language", false, ""},
    {"subtitles", Where::Media, "SubtitleCount", true, ""},
    {"title", Where::Media, "Title", false, ""},
    {"artist", Where::Media, "Artist", false, ""},
    {"album", Where::Media, "Album", false, ""},
    {"year", Where::Media, "Year", true, "m.Year > 0"},
    {"comment", Where::Media, "Comment", false, ""},
};

const Fact* Find(const std::string& name) {
    const auto found = std::ranges::find(kFacts, name, &Fact::Name);
    return found == std::end(kFacts) ? nullptr : found;
}

bool KnownOp(const std::string& op) { return op == "=" || op == "<" || op == ">" || op == "<=" || op == ">="; }

// The value as SQL writes a number; "" when it is not wholly one.
std::string Number(const std::string& text) {
    double value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last || !std::isfinite(value)) return {};
    char written[32];
    return std::string(written, std::to_chars(written, written + sizeof written, value).ptr);
}

}  // namespace

std::vector<std::string> FactNames() {
    std::vector<std::string> names;
    for (const Fact& fact : kFacts) names.emplace_back(fact.Name);
    return names;
}

std::string CheckFact(const FactCondition& condition) {
    const Fact* fact = Find(condition.Name);
    if (!fact) {
        std::string known;
        for (const Fact& each : kFacts) known += (known.empty() ? "" : ", ") + std::string(each.Name);
        return "No media fact named \"" + condition.Name + "\"; the facts are " + known;
    }
    if (!KnownOp(condition.Op))
        return "Compare " + condition.Name + " with =, <, >, <= or >=, not \"" + condition.Op + "\"";
    if (fact->Numeric && Number(condition.Value).empty())
        return "The " + condition.Name + " to compare with must be a number, not \"" + condition.Value + "\"";
    if (!fact->Numeric && condition.Op != "=") return "A text fact such as " + condition.Name + " is compared with = only";
    return {};
}

std::string FactSQL(const FactCondition& condition) {
    if (!CheckFact(condition).empty()) return "0";
    const Fact& fact = *Find(condition.Name);
    const std::string value = fact.Numeric ? Number(condition.Value) : QuoteSQLText(condition.Value) + " COLLATE NOCASE";
    // Facts made for another path are another file's, as the record may have been re-pointed.
    const std::string trusted = "m.FileID = tblFile.FileID AND m.PathKey = rv_path_key(tblFile.FileName)";
    if (fact.Table == Where::Media)
        return "EXISTS (SELECT 1 FROM rvFileMedia m WHERE " + trusted + (fact.Known.empty() ? "" : " AND " + std::string(fact.Known)) +
               " AND m." + std::string(fact.Column) + " " + condition.Op + " " + value + ")";
    const std::string kind = fact.Table == Where::Audio ? "1" : "2";
    return "EXISTS (SELECT 1 FROM rvFileStream s JOIN rvFileMedia m ON m.FileID = s.FileID WHERE s.FileID = tblFile.FileID "
           "AND s.Kind = " + kind + " AND s." + std::string(fact.Column) + " " + condition.Op + " " + value + " AND " +
           trusted + ")";
}
