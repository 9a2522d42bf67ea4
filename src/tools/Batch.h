// SPDX-License-Identifier: GPL-3.0-or-later
// Groups the writes of a bulk run into transactions of at most a number of units or one second,
// whichever comes first. A crash or a kill then loses at most the group in flight, never a unit
// committed before and never half a unit, while the run avoids a disk flush per record.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "store/clsSQLite.h"

// For runs whose units each touch their own part of the file: a group bounded by its age alone.
inline constexpr int kScatteredUnits = 1'000'000;
// For runs that append small records: each commit waits for the disk several times, which costs
// more than thousands of appends, while the group's pages stay few.
inline constexpr int kAppendedUnits = 2'000;

class Batch {
public:
    // A run whose units are scattered over the whole file (rewriting or deleting records in name
    // order) rewrites fewer pages with fewer, larger groups; it may say so with a larger maxUnits.
    explicit Batch(clsSQLite& store, int maxUnits = 500) : store_(store), maxUnits_(maxUnits) {}
    // Call before a unit's writes.
    std::string Begin();
    // Call after a unit's writes succeeded; commits the group when it is full or old.
    std::string UnitDone();
    // Commits what is pending. Also the first thing to do after a unit failed, so the good units
    // before it are kept (if the engine has not already undone them). "" or the reason.
    std::string Finish();
    // Units known to be on disk.
    int Committed() const { return committed_; }

private:
    clsSQLite& store_;
    const int maxUnits_;
    std::optional<clsSQLite::Transaction> group_;
    std::chrono::steady_clock::time_point started_;
    int pending_ = 0;
    int committed_ = 0;
};
