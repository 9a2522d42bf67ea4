// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/TextSignatures.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <span>

namespace {

using namespace std::string_view_literals;

// A character cut by the end of the bytes counts when the file goes on past them.
bool IsText(std::string_view text, bool cut) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned c = bytes[i];
        if (c < 0x80) {
            if (c == 0x7f || (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f')) return false;
            ++i;
            continue;
        }
        if (c < 0xc2 || c > 0xf4) return false;
        const std::size_t length = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
        if (i + length > text.size()) return cut;
        for (std::size_t k = 1; k < length; ++k)
            if ((bytes[i + k] & 0xc0) != 0x80) return false;
        const unsigned next = bytes[i + 1];
        if ((c == 0xe0 && next < 0xa0) || (c == 0xed && next >= 0xa0) || (c == 0xf0 && next < 0x90) ||
            (c == 0xf4 && next >= 0x90))
            return false;  // overlong, a surrogate, or past U+10FFFF
        i += length;
    }
    return true;
}

// Starts that a demuxer, or the tracker and chip-tune libraries behind two of them, reads where
// what follows may be text: playlists, subtitles, raw headers, and magic numbers of four letters.
constexpr std::string_view kReadStarts[] = {
    "#EXTM3U", "#!AMR", "#!iLBC", "#!SILK", "# VobSub", "ffconcat", "WEBVTT", ";FFMETADATA", "Scenarist_SCC",
    "ID3", "YUV4MPEG", "NIST_1A", "ARMovie", "SIMPLE  =", "TWIN", "SDX:", ".snd", ".SoX", "XoS.", ".REC",
    ".R1M", ".RMF", "RIFF", "RIFX", "RF64", "BW64", "FORM", "FRM8", "LIST", "OggS", "fLaC", "wvpk", "TTA1",
    "MPCK", "MP+", "MAC ", "OFR ", "DSD ", "ajkg", "caff", "RSD", "VAGp", "SCHl", "MThd", "DTSHDHDR", "IMPM",
    "Extended Module", "ZXAY", "GBS", "GYMX", "HESM", "KSCC", "KSSX", "NESM", "NSFE", "SAP", "SNES", "Vgm ",
    "MTM", "DDMF", "DBM0", "OKTASONG", "MMD", "PSM", "ziRCONia", "PP20", "XPKF", "MAS_UTrack", "MT20", "D.T.",
    "AMShdr", "Extreme", "GDM", "PLM", "ASYLUM", "DIGI Booster", "FAR", "STP3", "MO3", "MUSE", "if", "JN", "AMF",
    "DMDL", "RedSpark", "PVF1", "ipum", "IMA_ADPCM_Sound", "FRME", "MSF", "CRYO", "KVAG", "BRPP", "Svag", "SMK",
    "HNM", "DHAV", "DAHUA", "BBCD", "DFIA", "CWS", "FWS", "ZWS", " KPV", "BF&I", "LVFF", "LUCAM-RECORDER",
    "SEDBSSCF", "tBaK", "ea3", "vividas", "STRM", "L24", "L263",
};

// Read behind a size of any four bytes: the type of a QuickTime atom, and RED's raw video.
constexpr std::string_view kTypesAfterSize[] = {"moov", "mdat", "pnot", "udta", "ftyp", "ediw", "wide",
                                                "free", "junk", "pict", "skip", "uuid", "prfl", "moof",
                                                "styp", "sidx", "meta", "mfra", "RED1", "RED2"};

// Tracker modules, which the tracker library reads whatever the bytes before their tag.
struct TagAt {
    std::size_t Offset;
    std::string_view Tag;
};
constexpr TagAt kTrackerTags[] = {{20, "!Scream!"}, {20, "BMOD2STM"}, {20, "WUZAMOD!"}, {20, "SWavePro"},
                                  {44, "SCRM"},     {44, "PTMF"},     {60, "IM10"},     {60, "SONG"},
                                  {124, "SONG"},    {1464, "IT10"}};
constexpr std::string_view kModTags[] = {"M.K.", "M!K!", "M&K!", "N.T.", "FLT4", "FLT8", "CD81", "OKTA", "OCTA",
                                         "FA04", "FA06", "FA08", "NSMS", "LARD", "PATT", "EXO4", "EXO8", "FEST"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasTypeAfterSize(std::string_view text) {
    return text.size() >= 8 && std::ranges::find(kTypesAfterSize, text.substr(4, 4)) != std::end(kTypesAfterSize);
}

// Nintendo's ADP sound repeats the first pair of bytes of every 32.
bool MayBeAdp(std::string_view text) {
    if (text.size() < 32) return false;
    for (std::size_t i = 0; i + 3 < text.size(); i += 32)
        if (text[i] != text[i + 2] || text[i + 1] != text[i + 3]) return false;
    return true;
}

bool HasTrackerTag(std::string_view text) {
    for (const auto& [offset, tag] : kTrackerTags)
        if (text.substr(std::min(offset, text.size())).starts_with(tag)) return true;
    if (text.size() < 1084) return false;
    const std::string_view tag = text.substr(1080, 4);  // of a module with 31 samples: its channels
    return std::ranges::find(kModTags, tag) != std::end(kModTags) || (IsDigit(tag[0]) && tag.substr(1) == "CHN") ||
           (IsDigit(tag[0]) && IsDigit(tag[1]) && (tag.substr(2) == "CH" || tag.substr(2) == "CN")) ||
           (tag.starts_with("TDZ") && IsDigit(tag[3]));
}

// Looked for wherever they stand: cue times, subtitle sections and Nullsoft video chunks.
constexpr std::string_view kReadAnywhere[] = {" --> ", "[INFORMATION]", "START SCRIPT", "NSVs", "NSVf"};
// Lines of MPSub subtitles and of a session description's connection.
constexpr std::string_view kReadLines[] = {"FORMAT=", "c="};
// Keys of the captions of a talk, in an object.
constexpr std::string_view kCaptionKeys[] = {"\"captions\"", "\"duration\"", "\"content\"", "\"startOfParagraph\"",
                                             "\"startTime\""};
// Elements, in lower case, of streaming manifests, compositions and subtitles.
constexpr std::string_view kReadElements[] = {"<mpd", "<compositionplaylist", "<sami", "<window"};

bool StartsWithIgnoringCase(std::string_view text, std::string_view lower) {
    return text.size() >= lower.size() &&
           std::equal(lower.begin(), lower.end(), text.begin(), [](char l, char c) { return l == std::tolower(c); });
}

bool HoldsReadElement(std::string_view text) {
    for (std::size_t at = text.find('<'); at != text.npos; at = text.find('<', at + 1))
        for (const std::string_view element : kReadElements)
            if (StartsWithIgnoringCase(text.substr(at), element)) return true;
    return false;
}

std::string_view TrimStart(std::string_view text, std::string_view blanks = " \t\r\f") {
    const std::size_t start = text.find_first_not_of(blanks);
    return start == text.npos ? std::string_view{} : text.substr(start);
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find('\n')); }

// A "G" in the same place of six packets of any of the transport stream's three sizes; FFmpeg
// wants several more before it claims the bytes.
bool MayBeTransportStream(std::string_view text) {
    for (const std::size_t packet : {188, 192, 204}) {
        std::array<unsigned char, 204> syncs{};
        for (std::size_t at = text.find('G'); at != text.npos; at = text.find('G', at + 1))
            if (++syncs[at % packet] >= 6) return true;
    }
    return false;
}

// LATM's sync: "V" followed by a byte that only a character of three or four bytes begins with.
bool MayBeLatm(std::string_view text) {
    for (std::size_t at = text.find('V'); at != text.npos && at + 1 < text.size(); at = text.find('V', at + 1))
        if (static_cast<unsigned char>(text[at + 1]) >= 0xe0) return true;
    return false;
}

// FFmpeg's walk over raw AMR frames, each a header byte and a length that its mode sets; it takes
// the bytes for speech after more than 100 frames in a row. Bytes past the end read as zero.
bool MayBeRawAmr(std::string_view text, const std::array<unsigned char, 16>& frameSizes, unsigned modes) {
    const auto at = [text](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    int valid = 0;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned header = at(i);
        const unsigned mode = header >> 3 & 0x0f;
        if (mode >= modes || (header & 0x04) == 0) {
            valid = 0;
            ++i;
            continue;
        }
        int size = frameSizes[mode];
        while (size--)
            if (at(++i) != header) break;
        if (size > 0) {
            ++valid;
            i += static_cast<std::size_t>(size);
        }
    }
    return valid > 50;
}

constexpr std::array<unsigned char, 16> kAmrNarrowFrames{13, 14, 16, 18, 20, 21, 27, 32, 6, 1, 1, 1, 1, 1, 1, 1};
constexpr std::array<unsigned char, 16> kAmrWideFrames{18, 24, 33, 37, 41, 47, 51, 59, 61, 6, 1, 1, 1, 1, 1, 1};

// A binaural-beat script: every line blank, a comment, an option, a "name:" definition, a block's
// end or a timed entry, and at least one timed entry. A line cut by the end of the bytes is read as
// whole.
bool MayBeBeatScript(std::string_view text) {
    bool timed = false;
    while (!text.empty()) {
        const std::string_view line = TrimStart(FirstLine(text));
        text.remove_prefix(std::min(text.size(), FirstLine(text).size() + 1));
        if (line.empty() || line[0] == '#' || line[0] == '-' || line[0] == '}') continue;
        if (IsDigit(line[0]) || line[0] == '+' || line.starts_with("NOW")) {
            timed = true;
            continue;
        }
        const std::size_t name = line.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-");
        if (name == line.npos || (name > 0 && line[name] == ':')) continue;
        return false;
    }
    return timed;
}

bool HasReadLine(std::string_view text) {
    for (; !text.empty(); text.remove_prefix(std::min(text.size(), FirstLine(text).size() + 1))) {
        const std::string_view line = TrimStart(text);
        if (std::ranges::any_of(kReadLines, [line](std::string_view start) { return line.starts_with(start); })) return true;
    }
    return false;
}

bool Holds(std::string_view text, std::span<const std::string_view> parts) {
    return std::ranges::any_of(parts, [text](std::string_view part) { return text.find(part) != text.npos; });
}

// Bracketed names of sections, as in "[Desktop Entry]", are what the lyrics, MPL2 and ASS readers
// do not take: those want times, "tag:" pairs and frame numbers, or their own section names.
bool OpensLikeCues(std::string_view text) {
    if (text.empty()) return false;
    const char c = text[0];
    if (IsDigit(c) || c == '+' || c == '-' || c == '@') return true;
    if (c == '{') {
        const std::string_view after = TrimStart(text.substr(1), " \t\r\n\f");
        return text.starts_with("{DEFAULT}") || (!after.empty() && (IsDigit(after[0]) || after[0] == '+' || after[0] == '-'));
    }
    if (c != '[') return false;
    const std::size_t close = text.find(']');
    if (close == text.npos || close == 1 || close > 40) return true;
    const std::string_view name = text.substr(1, close - 1);
    if (name == "Script Info" || name == "INFORMATION" || name.starts_with("V4") || name == "Events") return true;
    return name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ _.") != name.npos;
}

// The first line that is not blank and not a comment of the kinds subtitle readers pass over.
std::string_view AfterComments(std::string_view text) {
    while (!text.empty()) {
        const std::string_view line = TrimStart(FirstLine(text));
        if (!line.empty() && line[0] != '#' && line[0] != '$' && !line.starts_with("//")) return TrimStart(text);
        text.remove_prefix(std::min(text.size(), FirstLine(text).size() + 1));
    }
    return {};
}

std::string_view MarkupFormat(std::string_view text) {
    if (StartsWithIgnoringCase(text, "<svg")) return "an SVG picture";
    if (StartsWithIgnoringCase(text, "<!doctype html") || StartsWithIgnoringCase(text, "<html")) return "an HTML document";
    if (text.starts_with("<?xml") || text.starts_with("<!--")) return "an XML document";
    return {};
}

bool CarriesSignature(std::string_view text, std::size_t firstLook) {
    if (std::ranges::any_of(kReadStarts, [text](std::string_view start) { return text.starts_with(start); }) ||
        HasTypeAfterSize(text) || HasTrackerTag(text) || HoldsReadElement(text) || HasReadLine(text) ||
        Holds(text, kReadAnywhere))
        return true;
    if (MayBeTransportStream(text) || MayBeLatm(text) || MayBeAdp(text.substr(0, firstLook)) || MayBeAdp(text)) return true;
    // FFmpeg looks at the first 2 KiB, and then at more: a walk can end differently on each.
    for (const std::string_view look : {text.substr(0, firstLook), text})
        if (MayBeRawAmr(look, kAmrNarrowFrames, 9) || MayBeRawAmr(look, kAmrWideFrames, 10) || MayBeBeatScript(look))
            return true;
    return false;
}

constexpr std::size_t kFirstLook = 2048;

}  // namespace

std::string_view PlainTextFormat(std::span<const unsigned char> first, std::int64_t size) {
    const std::string_view text(reinterpret_cast<const char*>(first.data()), first.size());
    if (!IsText(text, size > static_cast<std::int64_t>(first.size())) || CarriesSignature(text, kFirstLook)) return {};
    const std::string_view body = TrimStart(text.starts_with("\xef\xbb\xbf") ? text.substr(3) : text, " \t\r\n\f");
    if (body.empty()) return "plain text";
    if (body[0] == '<') return MarkupFormat(body);
    if (OpensLikeCues(body) || OpensLikeCues(AfterComments(body))) return {};
    if (body[0] == '{' && Holds(text, kCaptionKeys)) return {};
    return "plain text";
}
