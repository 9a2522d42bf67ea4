// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modCrc2.h"

#include <algorithm>
#include <cstdio>

std::uint32_t UpdateCRC(std::uint32_t crc, std::size_t start, std::size_t count,
                        std::span<const unsigned char> buffer) {
    if (start >= buffer.size()) return crc;
    for (const unsigned char byte : buffer.subspan(start, std::min(count, buffer.size() - start)))
        crc = (crc >> 8) ^ CRCTable[(crc ^ byte) & 0xFF];
    return crc;
}

std::string CRCText(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}
