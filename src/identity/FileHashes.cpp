// SPDX-License-Identifier: GPL-3.0-or-later
#include "identity/FileHashes.h"

#include <chrono>

#include "store/OwnTables.h"

namespace {

// SQLite keeps 64-bit signed integers; the halves of the hash and the inode are stored as their
// bit patterns.
std::int64_t Signed(std::uint64_t value) { return static_cast<std::int64_t>(value); }
std::uint64_t Unsigned(std::int64_t value) { return static_cast<std::uint64_t>(value); }

}  // namespace

HashRow RowOfRead(int fileID, const std::string& path, const CRCResult& read, std::int64_t now) {
    return {fileID, PathKey(path), read.Hash, read.Stamp, now, 0};
}

bool StillAsHashed(const HashRow& row, const FileStamp& now) {
    return row.Stamp.Size == now.Size && row.Stamp.MTimeNs == now.MTimeNs && row.Stamp.Inode == now.Inode;
}

std::string FileHashes::LoadFromDatabase(clsSQLite& store, const clsFile& files) {
    rows_.clear();
    if (!store.DBOpen() || !ReadOwnTables(store).Usable()) return {};
    std::unordered_map<int, const FileRecord*> records;
    records.reserve(files.Records().size());
    for (const FileRecord& record : files.Records()) {
        if (record.FileID >= 0) records.emplace(record.FileID, &record);
    }
    rows_.reserve(records.size());
    const std::string error = store.Query(
        "SELECT FileID, PathKey, HashHigh, HashLow, Size, MTimeNs, Device, Inode, HashedAt, VerifiedAt FROM rvFileHash;",
        [&](const clsSQLite::Row& row) {
            const auto record = records.find(static_cast<int>(row.Int(0)));
            if (record == records.end() || PathKey(record->second->FileName) != row.Int(1)) return;
            rows_[record->first] = {record->first,
                                    row.Int(1),
                                    {Unsigned(row.Int(2)), Unsigned(row.Int(3))},
                                    {row.Int(4), row.Int(5), Unsigned(row.Int(6)), Unsigned(row.Int(7))},
                                    row.Int(8),
                                    row.Int(9)};
        });
    if (!error.empty()) rows_.clear();
    return error;
}

const HashRow* FileHashes::Of(int fileID) const {
    const auto found = rows_.find(fileID);
    return found == rows_.end() ? nullptr : &found->second;
}

std::string StoreHash(clsSQLite& store, const HashRow& row) {
    return store.Execute(
        "INSERT OR REPLACE INTO rvFileHash(FileID, PathKey, HashHigh, HashLow, Size, MTimeNs, Device, Inode, HashedAt, "
        "VerifiedAt) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10);",
        {row.FileID, row.PathKey, Signed(row.Hash.High), Signed(row.Hash.Low), row.Stamp.Size, row.Stamp.MTimeNs,
         Signed(row.Stamp.Device), Signed(row.Stamp.Inode), row.HashedAt, row.VerifiedAt});
}

std::string NoteVerified(clsSQLite& store, int fileID, const FileStamp& stamp, std::int64_t when) {
    return store.Execute("UPDATE rvFileHash SET MTimeNs = ?2, Device = ?3, Inode = ?4, VerifiedAt = ?5 WHERE FileID = ?1;",
                         {fileID, stamp.MTimeNs, Signed(stamp.Device), Signed(stamp.Inode), when});
}

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}
