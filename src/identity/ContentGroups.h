// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's records grouped by their contents, from the hashes it keeps: what duplicates and
// single copies are found in. Read straight from the catalogue file, without loading the record
// sets: a million records take a second or two rather than the ten a full load takes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/ContentHash.h"
#include "store/clsSQLite.h"

struct Copy {
    int FileID = -1;
    std::string FileName;
    int DriveID = -1;  // -1 while the record's drive is not known
    friend bool operator==(const Copy&, const Copy&) = default;
};

struct ContentGroup {
    std::int64_t Size = 0;
    ContentHash Hash;
    std::vector<Copy> Copies;  // in path order
    // The bytes all copies but one take.
    std::int64_t Waste() const { return Copies.empty() ? 0 : Size * static_cast<std::int64_t>(Copies.size() - 1); }
};

struct ContentGroups {
    std::vector<ContentGroup> Groups;  // in the order of size and hash
    // Records whose contents are not known: no hash, or (among the rows read) a stale one.
    std::int64_t NotHashed = 0;
    std::string Note;                  // "" or why the catalogue has no hashes to read
    std::string Error;                 // "" or the engine's message
};

// Reads the records whose hash is trusted (see FileHashes.h), grouped by size and hash; with
// sharedOnly, only groups that had more than one row. A link to a drive is taken only where it was
// made for the record's path, as the record sets take it. A catalogue whose own tables this program
// may not read (absent, newer, damaged) gives no groups and a Note.
ContentGroups ReadContentGroups(clsSQLite& store, bool sharedOnly);

// Bytes in words: "512 bytes", "1.5 KiB", "48.2 GiB" (one decimal from KiB on).
std::string ByteText(std::int64_t bytes);
