// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogues every file of a folder that matches a pattern in one run, skipping files catalogued
// already by path or by CRC, and logs the skips in "load.log".
#pragma once

#include <string>

#include "model/Catalogue.h"
#include "tools/ToolHost.h"

struct LoadDirectoryRequest {
    std::string Folder;    // a "/" is added unless it ends with one; "" is refused
    std::string Patterns;  // "*.mp3" or several, "*.mp3;*.flac"; letter case is ignored
    bool ScanSubdirectories = false;
    bool CalculateCRC = false;  // the AutoCalculateCRC setting
    // With CRCs, catalogued files of the folder are read for their contents' hash when they have
    // none, or when their size, modification time or inode moved since; with Rehash, always.
    bool Rehash = false;
    // With CRCs, whether the files are hashed too. Without, a file is judged by its CRC alone, as
    // loads did before hashes; the benchmarks weigh the cost of hashing against that.
    bool HashContents = true;
    // Whether each media file's facts are kept with its record; the benchmarks weigh their cost
    // against a load without them.
    bool KeepFacts = true;
};

// Adds the files to the catalogue in batches and to catalogue.Files as provisional records, so later
// files of the run are checked against them; the caller reloads the sets afterwards. Changed: files
// added; Skipped: possible duplicates; Unreadable: files that could not be read or inspected. A stop
// asked through host keeps what was added. host sees every file, the status and the log. A folder
// that is empty or cannot be read is refused with Error, loading nothing; the log is still started
// anew, so no earlier run's log is taken for this one's, but it is not shown.
//
// With CRCs each file is read once, for its CRC and its contents' hash, which is stored beside the
// record; a file matches a record by size and hash where the record has a hash, and by CRC alone
// where it has none. A catalogued file read again keeps its record: a hash it lacked is stored, a
// time that moved over the same contents is noted, and other contents are only logged (Verify
// tells changed from damaged and offers to update the record).
ToolResult LoadDirectory(Catalogue& catalogue, const LoadDirectoryRequest& request, ToolHost& host);
