// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/Duplicates.h"

#include <algorithm>

DuplicateReport FindDuplicates(clsSQLite& store) {
    ContentGroups read = ReadContentGroups(store, true);
    DuplicateReport report{{}, 0, read.NotHashed, std::move(read.Note), std::move(read.Error)};
    // A row whose record changed its path drops out, and may leave its group a single copy.
    for (ContentGroup& group : read.Groups) {
        if (group.Copies.size() < 2) continue;
        report.Waste += group.Waste();
        report.Groups.push_back(std::move(group));
    }
    std::stable_sort(report.Groups.begin(), report.Groups.end(), [](const ContentGroup& a, const ContentGroup& b) {
        return a.Waste() != b.Waste() ? a.Waste() > b.Waste() : a.Size > b.Size;
    });
    return report;
}

std::string DuplicateTotals(const DuplicateReport& report) {
    const std::size_t groups = report.Groups.size();
    return std::to_string(groups) + (groups == 1 ? " group, " : " groups, ") + ByteText(report.Waste) + " in extra copies";
}
