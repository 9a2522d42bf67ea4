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
};

// Binds ini to AppPath() + "rv.ini" and reads the settings from it. On a first run, when the file
// is missing, creates it with AutoCalculateCRC=false and LastDir=AppPath(), leaving LastDir empty
// in memory. AutoCalculateCRC reads "true"/"false" in any case, or a number (0 is false); anything
// else is false. Returns "" or why rv.ini could not be read or written.
std::string LoadSettings(clsINIParse& ini, Settings& settings);
