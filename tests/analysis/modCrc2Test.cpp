// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modCrc2.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

std::span<const unsigned char> Bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace

TEST(modCrc2, TableAndUpdateGiveTheStandardCRC) {
    EXPECT_EQ(CRCTable[0], 0u);
    EXPECT_EQ(CRCTable[1], 0x77073096u);
    EXPECT_EQ(CRCTable[128], 0xEDB88320u);
    EXPECT_EQ(CRCTable[255], 0x2D02EF8Du);

    EXPECT_EQ(~UpdateCRC(0xFFFFFFFF, 0, 9, Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(~UpdateCRC(0xFFFFFFFF, 2, 3, Bytes("xxabcyy")), 0x352441C2u);  // start and count
    EXPECT_EQ(UpdateCRC(0x12345678, 1, 0, Bytes("abc")), 0x12345678u);
    // Folding in two pieces is folding at once: the running value carries no inversion.
    EXPECT_EQ(~UpdateCRC(UpdateCRC(0xFFFFFFFF, 0, 4, Bytes("1234")), 4, 5, Bytes("123456789")), 0xCBF43926u);
    // A count reaching past the buffer folds only the bytes that are there.
    EXPECT_EQ(UpdateCRC(0xFFFFFFFF, 7, 100, Bytes("123456789")), UpdateCRC(0xFFFFFFFF, 0, 2, Bytes("89")));
    EXPECT_EQ(UpdateCRC(0xFFFFFFFF, 50, 1, Bytes("123")), 0xFFFFFFFFu);
}

TEST(modCrc2, TextIsUpperCaseHexWithoutLeadingZeros) {
    EXPECT_EQ(CRCText(0xCBF43926), "CBF43926");
    EXPECT_EQ(CRCText(0x65E3), "65E3");
    EXPECT_EQ(CRCText(0x0A), "A");
    EXPECT_EQ(CRCText(0), "0");
    EXPECT_EQ(CRCText(0xFFFFFFFF), "FFFFFFFF");
}
