// SPDX-License-Identifier: GPL-3.0-or-later
// The hashes of the records' contents, kept in the catalogue's own table rvFileHash with the stamp
// of the file each was taken from. A row is trusted only for the record whose path still has the
// key the row keeps (see OwnTables.h): another program may have re-pointed the record, or given a
// deleted record's FileID to another file. A row is never dropped because its drive is away.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "analysis/ContentHash.h"
#include "analysis/modReadFileEx.h"
#include "model/clsFile.h"
#include "store/clsSQLite.h"

struct HashRow {
    int FileID = -1;
    std::int64_t PathKey = 0;
    ContentHash Hash;
    FileStamp Stamp;              // the file when it was hashed, or last found unchanged
    std::int64_t HashedAt = 0;    // seconds since 1970
    std::int64_t VerifiedAt = 0;  // likewise; 0 while it was never read again
    // When the contents were last known to be as hashed.
    std::int64_t LastChecked() const { return std::max(HashedAt, VerifiedAt); }
};

// The row a read of the record's file makes: its hash and stamp, hashed now.
HashRow RowOfRead(int fileID, const std::string& path, const CRCResult& read, std::int64_t now);

// Whether a file with this stamp is still the file the row was made from, without reading it: the
// same size, modification time (to the nanosecond) and inode. The device is not compared: a drive
// plugged in again may come back under another device number.
bool StillAsHashed(const HashRow& row, const FileStamp& now);

class FileHashes {
public:
    // Reads the rows of the records in files whose path still has the row's key. Reads nothing,
    // and is empty, where the catalogue's own tables are not this program's to read (OwnTables.h).
    // "" or the engine's message (and then empty).
    std::string LoadFromDatabase(clsSQLite& store, const clsFile& files);

    // The trusted row of the record; null when it has none: not yet hashed.
    const HashRow* Of(int fileID) const;
    std::size_t Count() const { return rows_.size(); }
    // After the row was written: the set says what the catalogue says.
    void Remember(const HashRow& row) { rows_[row.FileID] = row; }

private:
    std::unordered_map<int, HashRow> rows_;
};

// Writes the row, replacing the record's earlier one. "" or the engine's message.
std::string StoreHash(clsSQLite& store, const HashRow& row);
// Notes that the record's file was read again at when and found as hashed, now with this stamp
// (its time may have moved, or its inode: the contents did not).
std::string NoteVerified(clsSQLite& store, int fileID, const FileStamp& stamp, std::int64_t when);

// Seconds since 1970, now.
std::int64_t Now();
