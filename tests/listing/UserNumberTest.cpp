// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/UserNumber.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(UserNumber, TakesTheLeadingNumberAndRoundsHalvesToEven) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"0.5", 0}, {"1.5", 2},
        {"  42", 42}, {"1 000 000", 1000000}, {"+7", 7}, {"-", 0}, {".", 0}, {".6", 1}, {"5.", 5},
        {"1e3", 1000}, {"2D2", 200}, {"1.25E+2x", 125}, {"3e", 3}, {"3e+", 3}, {"4.5.6", 4},
        {"&HFF", 255}, {"&hff", 255}, {"&H", 0}, {"&HFFG", 255}, {"&O17", 15}, {"&O8", 0}, {"&X1", 0},
        {"5368709120", 5368709120}, {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(WholeNumberOf(text), expected) << '"' << text << '"';
}

TEST(UserNumber, RefusesNumbersOutsideTheRangeAskedFor) {
    EXPECT_EQ(WholeNumberOf("2147483647", INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(WholeNumberOf("2147483648", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(WholeNumberOf("-2147483648.4", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(WholeNumberOf("9223372036854775808"), std::nullopt);
    EXPECT_EQ(WholeNumberOf("1e999999"), std::nullopt);
    EXPECT_EQ(WholeNumberOf("&H10000000000000000"), std::nullopt);
    EXPECT_EQ(WholeNumberOf("&HFFFFFFFF", INT32_MIN, INT32_MAX), std::nullopt);
}
