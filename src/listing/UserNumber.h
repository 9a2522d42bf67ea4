// SPDX-License-Identifier: GPL-3.0-or-later
// What a person means by the text of a number field: "12 abc" is 12, "abc" is 0.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

// The number at the start of text, taken to the nearest whole number with halves going to the even
// neighbour (2.5 -> 2, 3.5 -> 4). Blanks are skipped wherever they stand ("1 000" -> 1000). The
// number is the longest leading part made of an optional sign, digits with at most one decimal
// point, and an exponent brought in by E or D ("1.5e3", "2D2"); or "&H" with hexadecimal digits, or
// "&O" with octal ones ("&HFF" -> 255). Whatever follows is ignored; a text with no number is 0.
// nullopt when the number lies outside lowest..highest, rather than a value that is not the one typed.
std::optional<std::int64_t> WholeNumberOf(std::string_view text,
                                          std::int64_t lowest = std::numeric_limits<std::int64_t>::min(),
                                          std::int64_t highest = std::numeric_limits<std::int64_t>::max());
