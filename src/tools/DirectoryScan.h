// SPDX-License-Identifier: GPL-3.0-or-later
// Which files a folder holds, as the bulk tools see them.
#pragma once

#include <string>
#include <vector>

// A path names an existing regular file, following links; hidden files exist like any other.
bool IsExistingFile(const std::string& path);

// Whether the folder exists and its entries can be read, so that a file absent from it is truly
// gone rather than out of reach (an unmounted drive, a folder without permission).
bool IsReadableFolder(const std::string& folder);

// Whether a file name matches one of the ";"-separated wildcard patterns ("*.mp3;*.flac"), with
// * and ? as usual, ignoring letter case. Blanks around each pattern are ignored.
bool MatchesPatterns(const std::string& name, const std::string& patterns);

struct FolderListing {
    std::vector<std::string> Files;  // paths relative to the folder ("b.mp3", "live/a.mp3")
    std::string Error;               // "" or why the folder itself could not be read
};

// The regular files under folder whose names match patterns, in byte order of their names at each
// level. With recursive, sub-folders are entered depth first where their names fall in that order;
// links to folders are not followed, so a loop of links cannot trap the scan. Names beginning with
// "." and entries that are neither files nor folders are skipped; an unreadable sub-folder is too.
FolderListing ListMatchingFiles(const std::string& folder, const std::string& patterns, bool recursive);
