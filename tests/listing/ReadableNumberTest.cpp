// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/ReadableNumber.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ReadableNumber, SizesInBinaryUnitsLengthsAsClockTimes) {
    const std::pair<std::int64_t, const char*> sizes[] = {
        {0, "0 B"}, {1023, "1023 B"}, {1024, "1.0 KiB"}, {1536, "1.5 KiB"}, {1048575, "1.0 MiB"},
        {1073741824, "1.0 GiB"}, {5'000'000'000, "4.7 GiB"}, {std::numeric_limits<std::int64_t>::max(), "8.0 EiB"}, {-1, "-1"}};
    for (const auto& [bytes, text] : sizes) EXPECT_EQ(ReadableSize(bytes), text) << bytes;
    const std::pair<std::int64_t, const char*> lengths[] = {
        {0, "0:00"}, {999, "0:00"}, {65'000, "1:05"}, {3'599'999, "59:59"}, {3'600'000, "1:00:00"},
        {5'421'000, "1:30:21"}, {360'000'000, "100:00:00"}, {-5, "-5"}};
    for (const auto& [ms, text] : lengths) EXPECT_EQ(ReadableLength(ms), text) << ms;
}
