// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/modCrc2.h"

#include <gtest/gtest.h>

TEST(modCrc2, TableUpdateAndTextGiveTheStandardCRC) {
    EXPECT_EQ(CRCTable[1], 0x77073096u);
    EXPECT_EQ(CRCTable[128], 0xEDB88320u);
    EXPECT_EQ(CRCTable[255], 0x2D02EF8Du);

    const std::string_view text = "xx123456789";
    const std::span bytes(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    EXPECT_EQ(~UpdateCRC(0xFFFFFFFF, 2, 9, bytes), 0xCBF43926u);
    // Two pieces fold as one: the running value carries no inversion.
    EXPECT_EQ(~UpdateCRC(UpdateCRC(0xFFFFFFFF, 2, 4, bytes), 6, 5, bytes), 0xCBF43926u);
    EXPECT_EQ(UpdateCRC(7, 1, 0, bytes), 7u);
    EXPECT_EQ(UpdateCRC(7, 9, 100, bytes), UpdateCRC(7, 9, 2, bytes));  // only the bytes that are there

    EXPECT_EQ(CRCText(0xCBF43926), "CBF43926");
    EXPECT_EQ(CRCText(0x65E3), "65E3");
    EXPECT_EQ(CRCText(0), "0");
}
