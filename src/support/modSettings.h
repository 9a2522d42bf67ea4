// SPDX-License-Identifier: GPL-3.0-or-later
// The program's two settings, kept in rv.ini in AppPath().
#pragma once

#include <string>

#include "support/clsINIParse.h"

struct Settings {
    bool AutoCalculateCRC = false;
    std::string LastDir;
    // The headers of the list's columns shown, joined by ";"; "" (as when missing) for the columns
    // shown at first: all but the media facts'.
    std::string ListColumns;
    // The list's names in natural order ("clip 2" before "clip 10"); off, the program's old order.
    bool SortNamesNaturally = true;
    // The list's sizes and lengths as bytes and milliseconds rather than "1.0 GiB" and "1:30:21".
    bool ShowExactNumbers = false;
};

// Binds ini to AppPath() + "rv.ini" and reads the settings from it. On a first run, when the file
// is missing, creates it with AutoCalculateCRC=false and LastDir=AppPath(), leaving LastDir empty
// in memory. AutoCalculateCRC reads "true"/"false" in any case, or a number (0 is false); anything
// else is false. SortNamesNaturally and ShowExactNumbers read likewise, true and false when missing
// (they are written when first changed). Returns "" or why rv.ini could not be read or written.
std::string LoadSettings(clsINIParse& ini, Settings& settings);
