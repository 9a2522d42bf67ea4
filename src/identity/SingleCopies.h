// SPDX-License-Identifier: GPL-3.0-or-later
// Records whose contents lie on no other drive: what a drive that dies would take with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "identity/ContentGroups.h"
#include "store/clsSQLite.h"

struct SingleCopy {
    Copy Of;
    std::int64_t Size = 0;
    ContentHash Hash;
};

struct SingleCopyReport {
    std::vector<SingleCopy> Copies;  // by drive, then path
    // The bytes of contents that would be lost: each contents counted once per drive, however many
    // copies that drive holds.
    std::int64_t Bytes = 0;
    std::int64_t NotHashed = 0;  // records whose contents are not known yet: not judged here
    std::string Note;
    std::string Error;
};

// A copy counts as elsewhere only on a known drive other than the record's: a record whose drive is
// not known may lie on the same one. Copies on one drive are all single when no other drive holds
// those contents. onDrive: only the records of that drive (by DriveID).
SingleCopyReport FindSingleCopies(clsSQLite& store, std::optional<int> onDrive = std::nullopt);

// The part of a report of every drive that lies on one drive, with its own total.
SingleCopyReport OnlyOnDrive(const SingleCopyReport& all, int driveID);

// "120 records on one drive only, 312.4 GiB"
std::string SingleCopyTotals(const SingleCopyReport& report);
