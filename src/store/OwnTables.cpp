// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/OwnTables.h"

#include <sqlite3.h>
#include <xxhash.h>

#include <algorithm>
#include <vector>

namespace {

struct OwnTable {
    std::string_view Name;
    std::string_view Create;
    std::vector<std::string_view> Columns;  // those the program reads; a newer one may add more
    int Since;                              // the version that made it
};

// rvSchema's one row says which version the tables are at.
const std::vector<OwnTable> kOwnTables = {
    {"rvSchema", "CREATE TABLE rvSchema(Key INTEGER PRIMARY KEY CHECK(Key = 1), Version INTEGER NOT NULL);",
     {"Key", "Version"}, 1},
    // One row per filesystem that records lie on. Identity is what finds it again wherever it is
    // mounted; MountPoint is where it was last seen.
    {"rvDrive",
     "CREATE TABLE rvDrive(DriveID INTEGER PRIMARY KEY, Identity TEXT NOT NULL UNIQUE, Name TEXT NOT NULL UNIQUE, "
     "Label TEXT NOT NULL DEFAULT '', FSType TEXT NOT NULL DEFAULT '', Size INTEGER NOT NULL DEFAULT 0, "
     "MountPoint TEXT NOT NULL DEFAULT '', SeenAt INTEGER NOT NULL DEFAULT 0);",
     {"DriveID", "Identity", "Name", "Label", "FSType", "Size", "MountPoint", "SeenAt"}, 1},
    // A record's drive, and its path inside that filesystem (from the filesystem's root, "/" first).
    {"rvFileDrive",
     "CREATE TABLE rvFileDrive(FileID INTEGER PRIMARY KEY, DriveID INTEGER NOT NULL, Path TEXT NOT NULL, "
     "PathKey INTEGER NOT NULL);",
     {"FileID", "DriveID", "Path", "PathKey"}, 1},
    // A record's contents: the 128-bit hash as two halves (integers compare and index faster than
    // blobs), and the file it was made from as it was then. Times in seconds since 1970; VerifiedAt 0
    // until the file is read again.
    {"rvFileHash",
     "CREATE TABLE rvFileHash(FileID INTEGER PRIMARY KEY, PathKey INTEGER NOT NULL, HashHigh INTEGER NOT NULL, "
     "HashLow INTEGER NOT NULL, Size INTEGER NOT NULL, MTimeNs INTEGER NOT NULL, Device INTEGER NOT NULL, "
     "Inode INTEGER NOT NULL, HashedAt INTEGER NOT NULL, VerifiedAt INTEGER NOT NULL DEFAULT 0);",
     {"FileID", "PathKey", "HashHigh", "HashLow", "Size", "MTimeNs", "Device", "Inode", "HashedAt", "VerifiedAt"}, 1},
    // What a media file is, as its container says: one row per record whose file was media when
    // last probed. Texts "" and numbers 0 when unknown; Year is the date tag's, for searching.
    {"rvFileMedia",
     "CREATE TABLE rvFileMedia(FileID INTEGER PRIMARY KEY, PathKey INTEGER NOT NULL, Container TEXT NOT NULL, "
     "VideoCodec TEXT NOT NULL, Width INTEGER NOT NULL, Height INTEGER NOT NULL, FrameRate REAL NOT NULL, "
     "BitRate INTEGER NOT NULL, HDR INTEGER NOT NULL, AudioCount INTEGER NOT NULL, SubtitleCount INTEGER NOT NULL, "
     "Title TEXT NOT NULL, Artist TEXT NOT NULL, Album TEXT NOT NULL, Date TEXT NOT NULL, Year INTEGER NOT NULL, "
     "Comment TEXT NOT NULL, ReadAt INTEGER NOT NULL);",
     {"FileID", "PathKey", "Container", "VideoCodec", "Width", "Height", "FrameRate", "BitRate", "HDR", "AudioCount",
      "SubtitleCount", "Title", "Artist", "Album", "Date", "Year", "Comment", "ReadAt"}, 2},
    // The sound tracks (Kind 1) and subtitles (Kind 2) of a record in rvFileMedia, in the file's order.
    {"rvFileStream",
     "CREATE TABLE rvFileStream(FileID INTEGER NOT NULL, Kind INTEGER NOT NULL, Position INTEGER NOT NULL, "
     "Codec TEXT NOT NULL, Language TEXT NOT NULL, Channels INTEGER NOT NULL, SampleRate INTEGER NOT NULL, "
     "PRIMARY KEY(FileID, Kind, Position)) WITHOUT ROWID;",
     {"FileID", "Kind", "Position", "Codec", "Language", "Channels", "SampleRate"}, 2},
    // A record's frame: a small JPEG, kept here so that it shows while the file's drive is away.
    // An empty Picture says the file holds none, and Note why, so that it is not looked for again.
    // Read one record at a time, never with the list.
    {"rvFrame",
     "CREATE TABLE rvFrame(FileID INTEGER PRIMARY KEY, PathKey INTEGER NOT NULL, Width INTEGER NOT NULL, "
     "Height INTEGER NOT NULL, Picture BLOB NOT NULL, Note TEXT NOT NULL DEFAULT '', MadeAt INTEGER NOT NULL);",
     {"FileID", "PathKey", "Width", "Height", "Picture", "Note", "MadeAt"}, 2},
};

struct OwnIndex {
    std::string_view Create;
    int Since;
};

// The links are read at every load: an index of the two numbers read is a tenth of the table's size.
const std::vector<OwnIndex> kOwnIndexes = {
    {"CREATE INDEX IF NOT EXISTS rvFileDriveKeys ON rvFileDrive(DriveID, PathKey);", 1},
    // Duplicates are found in this index without reading the table: the groups in its order, and
    // with each row the key of the path it was made for, to tell whether it is still trusted.
    {"CREATE INDEX IF NOT EXISTS rvFileHashContents ON rvFileHash(Size, HashHigh, HashLow, PathKey);", 1},
    // "Which films have a French sound track" is answered from the index alone.
    {"CREATE INDEX IF NOT EXISTS rvFileStreamLanguage ON rvFileStream(Kind, Language, FileID);", 2},
};

std::vector<std::string> Names(clsSQLite& store, const std::string& sql, std::string& error) {
    std::vector<std::string> names;
    error = store.Query(sql, [&](const clsSQLite::Row& row) { names.emplace_back(row.Text(0)); });
    return names;
}

bool Holds(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A table of ours made by versions up to version lacks itself or a column.
bool Incomplete(clsSQLite& store, const std::vector<std::string>& tables, int version, std::string& error) {
    for (const OwnTable& table : kOwnTables) {
        if (table.Since > version) continue;
        if (!Holds(tables, table.Name)) return true;
        const auto columns = Names(store, "SELECT name FROM pragma_table_info('" + std::string(table.Name) + "');", error);
        if (!error.empty()) return true;
        for (const std::string_view column : table.Columns) {
            if (!Holds(columns, column)) return true;
        }
    }
    return false;
}

OwnTablesStatus Damaged(int version) { return {OwnTablesState::Damaged, version, {}}; }

// A read that failed tells nothing of the tables: another program writing just now is no damage,
// and taking it for damage would make them anew, empty.
OwnTablesStatus Unread(const std::string& error) {
    if (error == kCatalogueBusy) return {OwnTablesState::Absent, 0, kCatalogueBusy};
    return Damaged(0);
}

std::string Run(clsSQLite& store, std::string_view sql) { return store.Execute(std::string(sql)); }

std::string DropOurs(clsSQLite& store) {
    for (auto table = kOwnTables.rbegin(); table != kOwnTables.rend(); ++table) {
        if (std::string error = Run(store, "DROP TABLE IF EXISTS " + std::string(table->Name) + ";"); !error.empty())
            return error;
    }
    return {};
}

// The tables and indexes of the versions after from, and the version row.
std::string StepUp(clsSQLite& store, int from) {
    for (const OwnTable& table : kOwnTables) {
        if (table.Since <= from) continue;
        if (std::string error = Run(store, table.Create); !error.empty()) return error;
    }
    for (const OwnIndex& index : kOwnIndexes) {
        if (index.Since <= from) continue;
        if (std::string error = Run(store, index.Create); !error.empty()) return error;
    }
    return store.Execute("INSERT OR REPLACE INTO rvSchema(Key, Version) VALUES(1, ?1);", {kOwnTablesVersion});
}

std::string MakeInOneStep(clsSQLite& store, const OwnTablesStatus& found) {
    clsSQLite::Transaction unit(store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    const bool damaged = found.State == OwnTablesState::Damaged;
    if (damaged) {
        if (std::string error = DropOurs(store); !error.empty()) return error;
    }
    if (std::string error = StepUp(store, damaged ? 0 : found.Version); !error.empty()) return error;
    return unit.Commit();
}

}  // namespace

const std::array<std::string_view, 5> kPerFileTables = {"rvFileDrive", "rvFileHash", "rvFileMedia", "rvFileStream", "rvFrame"};

OwnTablesStatus ReadOwnTables(clsSQLite& store) {
    if (!store.DBOpen()) return {};
    std::string error;
    const auto tables = Names(store, "SELECT name FROM sqlite_master WHERE type='table' AND name LIKE 'rv%';", error);
    if (!error.empty()) return Unread(error);
    if (!Holds(tables, "rvSchema")) {
        const bool anyOfOurs = std::any_of(kOwnTables.begin(), kOwnTables.end(),
                                           [&](const OwnTable& table) { return Holds(tables, table.Name); });
        return anyOfOurs ? Damaged(0) : OwnTablesStatus{};
    }
    if (error = store.Execute("SELECT Version FROM rvSchema WHERE Key = 1;"); !error.empty()) return Unread(error);
    if (store.RecordCount() != 1) return Damaged(0);
    const int version = static_cast<int>(store.Field(0).AsInt());
    if (version > kOwnTablesVersion) return {OwnTablesState::Newer, version, {}};
    if (version < 1 || Incomplete(store, tables, version, error)) return error.empty() ? Damaged(version) : Unread(error);
    return {version == kOwnTablesVersion ? OwnTablesState::Current : OwnTablesState::Older, version, {}};
}

OwnTablesStatus MakeOwnTables(clsSQLite& store) {
    OwnTablesStatus status = ReadOwnTables(store);
    if (!store.DBOpen() || store.ReadOnly() || status.State == OwnTablesState::Current || status.Note == kCatalogueBusy)
        return status;
    if (status.State == OwnTablesState::Newer) {
        status.Note = "This catalogue was also changed by a newer Reelvault (its own tables are at version " +
                      std::to_string(status.Version) + "): drives, hashes and media facts are neither shown nor changed here";
        return status;
    }
    if (std::string error = MakeInOneStep(store, status); !error.empty()) {
        // Another program writing just now: the step runs at the next load, and a write the user
        // asked for says that it is busy itself.
        if (error != kCatalogueBusy) status.Note = "Reelvault's own tables could not be made in this catalogue: " + error;
        return status;
    }
    const bool wasDamaged = status.State == OwnTablesState::Damaged;
    status = {OwnTablesState::Current, kOwnTablesVersion, {}};
    if (wasDamaged)
        status.Note = "Reelvault's own tables in this catalogue were damaged and have been made anew: drives are "
                      "found again from the paths, and hashes as the files are read again";
    return status;
}

std::string DeleteOrphanRows(clsSQLite& store) {
    for (const std::string_view table : kPerFileTables) {
        if (std::string error = store.Execute("DELETE FROM " + std::string(table) + " WHERE FileID NOT IN (SELECT FileID FROM tblFile);");
            !error.empty())
            return error;
    }
    return {};
}

std::int64_t PathKey(std::string_view path) {
    return static_cast<std::int64_t>(XXH3_64bits(path.data(), path.size()));
}

void AddPathKeyFunction(sqlite3* db) {
    const auto key = [](sqlite3_context* context, int, sqlite3_value** values) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
        if (!text) return sqlite3_result_null(context);
        sqlite3_result_int64(context, PathKey(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(values[0])))));
    };
    sqlite3_create_function(db, "rv_path_key", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, key, nullptr, nullptr);
}
