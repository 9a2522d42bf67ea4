// SPDX-License-Identifier: GPL-3.0-or-later
// Media facts as people read them: the list's fact columns and the lines of the Media box.
#pragma once

#include <array>
#include <string>

#include "analysis/MediaFacts.h"

enum FactColumnIndex { ResolutionFact, VideoFact, AudioFact, LanguagesFact, YearFact };
inline constexpr int kFactColumnCount = 5;
extern const std::array<const char*, kFactColumnCount> kFactColumnHeaders;

// The text of a fact column: "1920x1080", "h264 25 fps HDR", "aac 2 ch (+1)", "fre, eng", "2004".
// "" without facts, and for a fact the file does not have.
std::string FactCellText(const MediaFacts* facts, int column);
// A number to sort the column by where its texts would sort wrongly ("640x480" after
// "1920x1080"): the height, then the width, for Resolution; the year for Year. -1 for the others.
double FactSortKey(const MediaFacts* facts, int column);

// One line per fact the file has: "Container: matroska,webm", "Video: h264, 1920x1080, 25 fps,
// 4.2 Mb/s, HDR", "Audio 1: aac, 2 channels, 48000 Hz, fre", "Subtitles: 2 (eng, fre)", then the tags.
std::string DescribeFacts(const MediaFacts& facts);
