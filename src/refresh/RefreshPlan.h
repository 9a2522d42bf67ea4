// SPDX-License-Identifier: GPL-3.0-or-later
// What a refresh would change: the files under some folders (or on one drive) compared with the
// catalogue's records under them, each sorted into one kind. Making a plan writes nothing; a
// window shows it with a tick box per row and hands the ticked rows to ApplyRefresh.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ContentHash.h"
#include "analysis/cFile.h"
#include "model/Catalogue.h"
#include "refresh/TreeWalk.h"
#include "tools/ToolHost.h"

enum class RefreshKind {
    New,         // a file no record has; NewPath
    Moved,       // a record whose path is gone and whose file is at NewPath (renamed or moved)
    Changed,     // a record whose file has another size or time (or inode) than when it was read
    Missing,     // a record whose file is gone, with no new place found
    Unchanged,   // a record whose file is as it was read; not opened
    Unreadable,  // a folder that could not be listed (NewPath), or a record inside one (kept)
    Ambiguous,   // a record or a file with contents that more than one new file or missing record share
};
inline constexpr std::array kRefreshKinds = {RefreshKind::New,       RefreshKind::Moved,      RefreshKind::Changed,
                                             RefreshKind::Missing,   RefreshKind::Unchanged,  RefreshKind::Unreadable,
                                             RefreshKind::Ambiguous};
// "new", "moved", "changed", "missing", "unchanged", "unreadable", "ambiguous".
const char* KindName(RefreshKind kind);
// The kind of a name KindName gives; nullopt for any other text.
std::optional<RefreshKind> KindNamed(const std::string& name);

struct PlanRow {
    RefreshKind Kind = RefreshKind::New;
    int FileID = -1;      // the record's; -1 for a file or folder no record has
    std::string OldPath;  // the record's path; "" for a file no record has
    std::string NewPath;  // the file's path where it is not OldPath: New, Moved, Changed, an unreadable folder
    FileStamp Stamp;      // the file's when it was planned (New, Moved, Changed)
    // From the one read of the file made for the plan (New, Changed, and Moved by contents):
    // its CRC text, and its hash. Empty CRC: not read (Moved by inode, or a read that failed).
    std::string CRC;
    std::optional<ContentHash> Hash;
    std::string Note;     // why a row is unreadable or ambiguous; a failed read
    bool Ticked = true;   // Apply carries out ticked rows only; Unchanged, Unreadable and Ambiguous never
};

struct RefreshPlan {
    std::vector<std::string> Roots;  // the folders walked, each ending in "/"
    std::vector<std::uint64_t> RootDevices;  // the device each root was on when walked
    int DriveID = -1;                // the drive refreshed whole; -1 for folders
    std::vector<PlanRow> Rows;       // grouped by kind in the order of kRefreshKinds, by path within a kind
    std::vector<std::string> HardLinks;  // "PATH is the same file as OTHER": catalogued once, under OTHER
    int DriveAway = 0;               // records under the folders whose drive is not plugged in: left out
    std::int64_t BytesRead = 0;      // read for CRCs and hashes
    bool Cancelled = false;
    std::string Error;               // "" or why there is no plan (nothing is half planned)

    int Count(RefreshKind kind) const;
};

struct RefreshRequest {
    std::vector<std::string> Folders;  // absolute; or none, with Drive
    std::string Drive;                 // a drive's name: its whole place is walked
    // Which files not catalogued are new: these ";"-separated patterns ("*.mkv;*.avi"); "" for
    // the extensions of the catalogue's file types.
    std::string Patterns;
    FolderOpener OpenFolder;  // the walk's (see WalkTree); empty for the system's
};

// Makes the plan. Files are not opened unless they are new or changed, or may be a missing
// record's file under another name: those are read once, for their CRC and hash together. A stop
// asked through host ends the plan with Cancelled set. The catalogue is only read.
RefreshPlan MakeRefreshPlan(Catalogue& catalogue, const RefreshRequest& request, ToolHost& host);
