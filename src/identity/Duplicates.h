// SPDX-License-Identifier: GPL-3.0-or-later
// Records with the same contents: the same size and hash, wherever they lie.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "identity/ContentGroups.h"
#include "store/clsSQLite.h"

struct DuplicateReport {
    std::vector<ContentGroup> Groups;  // each of two copies or more, the biggest waste first
    std::int64_t Waste = 0;            // bytes taken by all copies but one of each group
    std::int64_t NotHashed = 0;        // records whose contents are not known yet, so not in any group
    std::string Note;                  // "" or why there are no hashes to compare
    std::string Error;                 // "" or the engine's message
};

DuplicateReport FindDuplicates(clsSQLite& store);

// "312 groups, 48.2 GiB in extra copies"
std::string DuplicateTotals(const DuplicateReport& report);
