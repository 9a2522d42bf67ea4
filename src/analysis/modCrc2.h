// SPDX-License-Identifier: GPL-3.0-or-later
// The standard CRC-32 (ISO 3309, ITU-T V.42, IEEE 802.3; reflected, polynomial 0xEDB88320) by table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

using CRCTableType = std::array<std::uint32_t, 256>;

// The 256 table entries: entry 1 is 0x77073096, entry 128 0xEDB88320, entry 255 0x2D02EF8D.
constexpr CRCTableType BuildCRCTable() {
    CRCTableType table{};
    for (std::uint32_t i = 1; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        table[i] = c;
    }
    return table;
}

// Built at compile time, so no one has to remember to build it before the first CRC.
inline constexpr CRCTableType CRCTable = BuildCRCTable();

// Folds count bytes of buffer, beginning at start, into the running value, one table look-up per
// byte, and returns the new running value. Neither the initial nor the final inversion is done here:
// the CRC of a whole text is ~UpdateCRC(0xFFFFFFFF, 0, size, text). Bytes that would lie past the
// end of buffer are not folded. Far slower than the file engine's kernel; it is the reference.
std::uint32_t UpdateCRC(std::uint32_t crc, std::size_t start, std::size_t count,
                        std::span<const unsigned char> buffer);

// The CRC text of a value: upper-case hexadecimal without leading zeros, 1 to 8 characters
// (0xCBF43926 -> "CBF43926", 0x65E3 -> "65E3", 0 -> "0"). The form the catalogue stores and compares.
std::string CRCText(std::uint32_t value);
