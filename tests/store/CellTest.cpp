// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/Cell.h"

#include <gtest/gtest.h>

TEST(Cell, ReadsEveryKindAsTextAndAsNumber) {
    EXPECT_EQ(Cell().AsText(), "");
    EXPECT_EQ(Cell().AsInt(), 0);
    EXPECT_EQ(Cell(-42).AsText(), "-42");
    EXPECT_EQ(Cell(std::int64_t{5'000'000'000}).AsInt(), 5'000'000'000);
    EXPECT_EQ(Cell(1.0).AsText(), "1.0");
    EXPECT_EQ(Cell(2.5).AsInt(), 2);  // halves to even
    EXPECT_EQ(Cell(3.5).AsInt(), 4);
    EXPECT_EQ(Cell("12abc").AsInt(), 12);
    EXPECT_EQ(Cell("-2.5x").AsInt(), -2);
    EXPECT_EQ(Cell("abc").AsInt(), 0);
    EXPECT_NE(Cell(""), Cell());  // the empty text is not NULL
}
