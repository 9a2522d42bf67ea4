// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/ContentGroups.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "store/OwnTables.h"

namespace {

struct Entry {
    std::int64_t Size;
    ContentHash Hash;
    Copy Of;
};

constexpr const char* kRowsSelected =
    "SELECT h.Size, h.HashHigh, h.HashLow, h.FileID, h.PathKey, f.FileName, d.DriveID, d.PathKey ";
constexpr const char* kRowsJoined = "JOIN tblFile f ON f.FileID = h.FileID LEFT JOIN rvFileDrive d ON d.FileID = h.FileID;";

// The index holds size and hash in order: the groups of more than one row are found in it without
// reading the table, and only their rows are then read.
std::string Query(bool sharedOnly) {
    if (!sharedOnly) return std::string(kRowsSelected) + "FROM rvFileHash h " + kRowsJoined;
    return std::string("WITH shared AS (SELECT Size, HashHigh, HashLow FROM rvFileHash INDEXED BY rvFileHashContents "
                       "GROUP BY Size, HashHigh, HashLow HAVING count(*) > 1) ") +
           kRowsSelected +
           "FROM shared s JOIN rvFileHash h ON h.Size = s.Size AND h.HashHigh = s.HashHigh AND h.HashLow = s.HashLow " +
           kRowsJoined;
}

std::string Unusable(OwnTablesState state) {
    switch (state) {
    case OwnTablesState::Absent: return "No file of this catalogue has been hashed yet: Verify hashes them";
    case OwnTablesState::Newer: return "This catalogue's hashes were written by a newer Reelvault and are not read here";
    case OwnTablesState::Damaged:
        return "This catalogue's own tables are damaged; they are made anew when it is next opened for writing";
    case OwnTablesState::Current:
    case OwnTablesState::Older: break;
    }
    return "This catalogue's hashes are from an older Reelvault and are read once it is opened for writing";
}

std::vector<ContentGroup> Grouped(std::vector<Entry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.Size, a.Hash, a.Of.FileName, a.Of.FileID) < std::tie(b.Size, b.Hash, b.Of.FileName, b.Of.FileID);
    });
    std::vector<ContentGroup> groups;
    for (Entry& entry : entries) {
        if (groups.empty() || groups.back().Size != entry.Size || groups.back().Hash != entry.Hash)
            groups.push_back({entry.Size, entry.Hash, {}});
        groups.back().Copies.push_back(std::move(entry.Of));
    }
    return groups;
}

}  // namespace

ContentGroups ReadContentGroups(clsSQLite& store, bool sharedOnly) {
    ContentGroups found;
    const OwnTablesStatus tables = ReadOwnTables(store);
    if (!tables.Usable()) {
        found.Note = Unusable(tables.State);
        if (store.DBOpen() && store.Execute("SELECT count(*) FROM tblFile;").empty()) found.NotHashed = store.Field(0).AsInt();
        return found;
    }
    std::vector<Entry> entries;
    found.Error = store.Query(Query(sharedOnly), [&](const clsSQLite::Row& row) {
        const std::string_view name = row.Text(5);
        const std::int64_t key = PathKey(name);
        if (key != row.Int(4)) {
            ++found.NotHashed;
            return;
        }
        const bool linked = row.SortClass(6) != 0 && row.Int(7) == key;
        entries.push_back({row.Int(0),
                           {static_cast<std::uint64_t>(row.Int(1)), static_cast<std::uint64_t>(row.Int(2))},
                           {static_cast<int>(row.Int(3)), std::string(name), linked ? static_cast<int>(row.Int(6)) : -1}});
    });
    // Rows whose record another program deleted go at the next load that may write, so the two
    // counts tell the records without a row; a million look-ups would tell it exactly in half a second.
    if (found.Error.empty())
        found.Error = store.Execute("SELECT (SELECT count(*) FROM tblFile) - (SELECT count(*) FROM rvFileHash);");
    if (!found.Error.empty()) return found;
    found.NotHashed += std::max<std::int64_t>(store.Field(0).AsInt(), 0);
    found.Groups = Grouped(entries);
    return found;
}

std::string ByteText(std::int64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    const char* units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) value /= 1024, ++unit;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}
