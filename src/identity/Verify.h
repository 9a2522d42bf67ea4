// SPDX-License-Identifier: GPL-3.0-or-later
// Verify: reads every catalogued file on the plugged-in drives again and compares it with the hash
// its record kept, to find silent damage (decay, a bad copy) among files edited on purpose.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/modReadFileEx.h"
#include "model/Catalogue.h"
#include "tools/ToolHost.h"

enum class VerifyStatus {
    Unchanged,
    Touched,           // its time moved over the same contents: the new time is stored
    Changed,           // edited on purpose: the record may be updated (AcceptContents)
    Damaged,           // same size and time, other contents: the stored hash is kept
    FirstSeen,         // no hash kept before: hashed now, never called damaged
    Missing,           // its drive is here, the file is not
    Unreadable,        // not a plain file, no permission, a read error
    ChangedWhileRead,  // written to during the read: nothing said of it, nothing stored
    DriveAway,         // on a drive not plugged in: not read, its hash kept
};
inline constexpr std::size_t kVerifyStatuses = 9;

struct VerifyRequest {
    std::optional<int> DriveID;  // only this drive's records; otherwise those of every plugged-in drive
    int OlderThanDays = 0;       // only records not read for longer than this; 0: all
};

struct VerifyFinding {
    int FileID = -1;
    std::string Path;
    VerifyStatus Status = VerifyStatus::Unchanged;
    CRCResult Read;  // what the read found: its CRC, hash and stamp (for AcceptContents)
};

struct VerifyReport {
    ToolResult Result;  // Changed: records whose hash or time was written; Unreadable; DriveAway
    std::array<int, kVerifyStatuses> Counts{};
    int NotDue = 0;                       // records left out by OlderThanDays
    std::vector<VerifyFinding> Findings;  // the changed and the damaged files, for the user to judge
    int Count(VerifyStatus status) const { return Counts[static_cast<std::size_t>(status)]; }
};

// Reads each record's file in name order; writes first hashes, new times and the time each file was
// last verified, in batches. The log "verify.log" lists every file that is not unchanged, with the
// totals. A drive unplugged during the run stops it with a sentence; what was verified stays
// recorded. Records of drives not plugged in keep their hashes. A stop asked through host keeps what
// was committed.
VerifyReport Verify(Catalogue& catalogue, const VerifyRequest& request, ToolHost& host);

// "1 damaged, 2 changed, 40 unchanged": every status that has files, the worst first.
std::string VerifyTotals(const VerifyReport& report);

// Takes the contents the verify read as the records' own: each record gets the CRC and size of its
// file and the hash, as the user said of changed (or damaged) files. A file written again since
// the verify read it is left as it is, and logged. Changed: records updated.
ToolResult AcceptContents(Catalogue& catalogue, const std::vector<VerifyFinding>& findings, ToolHost& host);
