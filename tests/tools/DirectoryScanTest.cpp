// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DirectoryScan.h"

#include <gtest/gtest.h>

TEST(MatchesPatterns, IgnoresCaseAndTakesSeveralPatterns) {
    EXPECT_TRUE(MatchesPatterns("SONG.MP3", "*.mp3"));
    EXPECT_TRUE(MatchesPatterns("a.flac", "*.mp3; *.FLAC"));
    EXPECT_TRUE(MatchesPatterns("x1.avi", "x?.avi"));
    EXPECT_FALSE(MatchesPatterns("x12.avi", "x?.avi"));
    EXPECT_FALSE(MatchesPatterns("a.mp3", ""));
    EXPECT_FALSE(MatchesPatterns("a.mp3", " ; "));
}
