// SPDX-License-Identifier: GPL-3.0-or-later
// Which files a folder holds, as the bulk tools see them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
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
    std::string Error;               // "" or "Cannot read the folder FOLDER: " and the system's reason
};

// The regular files under folder whose names match patterns, in byte order of their names at each
// level. With recursive, sub-folders are entered depth first where their names fall in that order;
// links to folders are not followed, so a loop of links cannot trap the scan. Names beginning with
// "." and entries that are neither files nor folders are skipped; an unreadable sub-folder is too.
FolderListing ListMatchingFiles(const std::string& folder, const std::string& patterns, bool recursive);

struct FileSizes {
    std::unordered_map<std::string, std::int64_t> Bytes;  // by file name
    std::string Error;                                    // as for FolderListing
};

// The regular files directly in folder, hidden ones too, following links. One pass over the folder
// answers for any number of names, where a look-up per name would cost a trip to the disk each.
FileSizes ListFileSizes(const std::string& folder);
