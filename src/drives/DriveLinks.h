// SPDX-License-Identifier: GPL-3.0-or-later
// Writing which drive each record lies on, and the drives themselves, into the catalogue's own
// tables (which must be usable: see OwnTables.h). The drive set is kept in step with what is written.
#pragma once

#include <string>
#include <vector>

#include "drives/DriveSet.h"
#include "store/clsSQLite.h"

struct RecordPath {
    int FileID = 0;
    std::string FileName;
    // The file is there now. A path whose file is not there may be an empty folder's where a drive
    // was mounted by hand: only a known drive that is away can claim it, never the disk beneath.
    bool Seen = true;
};

struct LinkOutcome {
    std::vector<int> DriveIDs;  // one per record given, in order; -1 for a path on no drive found
    std::string Error;          // "" or the engine's message; the links written before it stay
};

// Where a path lies: on a drive the set knows that is away, when the path lies in the place it was
// last seen at and nothing is mounted there now; otherwise on the filesystem mounted under it now,
// unless that filesystem only holds the empty folder where a drive belongs (see MountedVolumes).
// A filesystem the set does not know becomes a new drive (a row in rvDrive, named by NewName).
// Writes each record's link with its path inside the drive and the key of its path; a record whose
// file is still the one its contents' hash was taken from (same size, time and inode) keeps that
// hash under its new path. Run it inside a transaction when there are many.
LinkOutcome LinkRecords(clsSQLite& store, DriveSet& drives, const std::vector<RecordPath>& records);

// Notes, for each plugged-in drive seen at a place other than the one it was last seen at, its new
// place. "" or the engine's message.
std::string NoteDrivesSeen(clsSQLite& store, DriveSet& drives);

// Gives the drive named name the name newName. "" or why not: no such drive, an empty name, a name
// another drive has, or the engine's message.
std::string RenameDrive(clsSQLite& store, DriveSet& drives, const std::string& name, const std::string& newName);
