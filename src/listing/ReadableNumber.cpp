// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/ReadableNumber.h"

#include <array>
#include <cstdio>

std::string ReadableSize(std::int64_t bytes) {
    if (bytes < 1024) return bytes < 0 ? std::to_string(bytes) : std::to_string(bytes) + " B";
    static constexpr std::array<const char*, 6> kUnits{"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    // 1023.96 KiB would print as "1024.0 KiB": the next unit reads better.
    while (value >= 1023.95 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string ReadableLength(std::int64_t milliseconds) {
    if (milliseconds < 0) return std::to_string(milliseconds);
    const std::int64_t seconds = milliseconds / 1000;
    const long long hours = seconds / 3600;
    const int minutes = static_cast<int>(seconds / 60 % 60);
    const int rest = static_cast<int>(seconds % 60);
    char text[48];
    if (hours > 0) std::snprintf(text, sizeof text, "%lld:%02d:%02d", hours, minutes, rest);
    else std::snprintf(text, sizeof text, "%d:%02d", minutes, rest);
    return text;
}
