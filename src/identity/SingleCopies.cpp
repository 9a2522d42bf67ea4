// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/SingleCopies.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace {

bool ElsewhereToo(const ContentGroup& group, const Copy& copy) {
    return std::any_of(group.Copies.begin(), group.Copies.end(),
                       [&](const Copy& other) { return other.DriveID >= 0 && other.DriveID != copy.DriveID; });
}

}  // namespace

SingleCopyReport FindSingleCopies(clsSQLite& store, std::optional<int> onDrive) {
    ContentGroups read = ReadContentGroups(store, false);
    SingleCopyReport report{{}, 0, read.NotHashed, std::move(read.Note), std::move(read.Error)};
    std::set<std::tuple<int, std::int64_t, ContentHash>> counted;  // drive and contents
    for (const ContentGroup& group : read.Groups) {
        for (const Copy& copy : group.Copies) {
            if (ElsewhereToo(group, copy)) continue;
            report.Copies.push_back({copy, group.Size, group.Hash});
            if (counted.emplace(copy.DriveID, group.Size, group.Hash).second) report.Bytes += group.Size;
        }
    }
    std::sort(report.Copies.begin(), report.Copies.end(), [](const SingleCopy& a, const SingleCopy& b) {
        return std::tie(a.Of.DriveID, a.Of.FileName) < std::tie(b.Of.DriveID, b.Of.FileName);
    });
    return onDrive ? OnlyOnDrive(report, *onDrive) : report;
}

SingleCopyReport OnlyOnDrive(const SingleCopyReport& all, int driveID) {
    SingleCopyReport report{{}, 0, all.NotHashed, all.Note, all.Error};
    std::set<std::pair<std::int64_t, ContentHash>> counted;
    for (const SingleCopy& single : all.Copies) {
        if (single.Of.DriveID != driveID) continue;
        report.Copies.push_back(single);
        if (counted.emplace(single.Size, single.Hash).second) report.Bytes += single.Size;
    }
    return report;
}

std::string SingleCopyTotals(const SingleCopyReport& report) {
    const std::size_t records = report.Copies.size();
    return std::to_string(records) + (records == 1 ? " record" : " records") + " on one drive only, " +
           ByteText(report.Bytes);
}
