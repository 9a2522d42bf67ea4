// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/MediaFacts.h"

#include <algorithm>
#include <cctype>

int MediaFacts::Year() const {
    if (Date.size() < 4 || !std::all_of(Date.begin(), Date.begin() + 4, [](unsigned char c) { return std::isdigit(c); }))
        return 0;
    if (Date.size() > 4 && std::isdigit(static_cast<unsigned char>(Date[4]))) return 0;  // "20040501" is not a year
    return std::stoi(Date.substr(0, 4));
}

std::string MediaFacts::Resolution() const {
    if (Width <= 0 || Height <= 0) return {};
    return std::to_string(Width) + "x" + std::to_string(Height);
}

std::string MediaFacts::AudioLanguages() const {
    std::vector<std::string> seen;
    std::string text;
    for (const MediaStream& stream : Audio) {
        if (stream.Language.empty() || std::ranges::find(seen, stream.Language) != seen.end()) continue;
        seen.push_back(stream.Language);
        text += (text.empty() ? "" : ", ") + stream.Language;
    }
    return text;
}
