// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/modSchema.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "support/UniqueFile.h"

namespace fs = std::filesystem;

const std::array<CatalogueTable, 7> kCatalogueTables = {{
    {"tblFile",
     "CREATE TABLE tblFile(FileID      INTEGER PRIMARY KEY,CRC     VARCHAR2(100),FileName    "
     "VARCHAR2(512),Title       VARCHAR2(256),Size        INTEGER,Length      INTEGER,Type        "
     "INTEGER,Rating      INTEGER,Category    INTEGER,FourCC      VARCHAR2(4),IntRFE1     "
     "INTEGER,IntRFE2     INTEGER,TextRFE1    VARCHAR2(255),TextFRE2 VARCHAR2(255));"},
    {"tblFileKeywordJunction", "CREATE TABLE tblFileKeywordJunction(FileID      INTEGER,KeywordID   INTEGER);"},
    {"tblKeyword", "CREATE TABLE tblKeyword(KeywordID   INTEGER PRIMARY KEY,Keyword VARCHAR2(50));"},
    {"tblCategory", "CREATE TABLE tblCategory(CategoryID  INTEGER PRIMARY KEY,Category VARCHAR2(50));"},
    {"tblFileExtension",
     "CREATE TABLE tblFileExtension(ExtensionID INTEGER PRIMARY KEY,Extension VARCHAR2(10));"},
    {"tblFileExtensionJunction",
     "CREATE TABLE tblFileExtensionJunction(ExtensionID INTEGER,FileTypeID  INTEGER);"},
    {"tblFileType",
     "CREATE TABLE tblFileType(FileTypeID  INTEGER PRIMARY KEY,FileType VARCHAR2(50),ExternalApp "
     "VARCHAR2(50));"},
}};

const std::array<std::string_view, 4> kCatalogueIndexes = {
    "CREATE INDEX IF NOT EXISTS idxKeywordText ON tblKeyword(Keyword);",
    "CREATE INDEX IF NOT EXISTS idxExtensionText ON tblFileExtension(Extension);",
    "CREATE INDEX IF NOT EXISTS idxFileKeywordFile ON tblFileKeywordJunction(FileID);",
    "CREATE INDEX IF NOT EXISTS idxFileExtensionType ON tblFileExtensionJunction(FileTypeID);",
};

namespace {

std::string AddIndexes(clsSQLite& store) {
    clsSQLite::Transaction unit(store);
    for (const std::string_view index : kCatalogueIndexes) {
        if (std::string error = store.Execute(std::string(index)); !error.empty()) return error;
    }
    return unit.Commit();
}

std::string MakeTables(const std::string& path) {
    clsSQLite fresh;
    if (std::string error = fresh.OpenDB(path); !error.empty()) return error;
    clsSQLite::Transaction unit(fresh);  // seven tables or none
    if (!unit.BeginError().empty()) return unit.BeginError();
    for (const CatalogueTable& table : kCatalogueTables) {
        if (std::string error = fresh.Execute(std::string(table.Create)); !error.empty()) return error;
    }
    if (std::string error = AddIndexes(fresh); !error.empty()) return error;
    return unit.Commit();
}

void RemoveHalfMadeFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(path + "-journal", ignored);
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using ReadOnlyDatabase = std::unique_ptr<sqlite3, DatabaseCloser>;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

// The first column of every row of a query on db. Another program's lock held past the wait is
// the busy sentence every other path gives, not a reason the file cannot be read.
std::string Collect(sqlite3* db, const std::string& sql, std::vector<std::string>& values) {
    const auto collect = [](void* target, int, char** row, char**) {
        static_cast<std::vector<std::string>*>(target)->push_back(row[0] ? row[0] : "");
        return 0;
    };
    if (sqlite3_exec(db, sql.c_str(), collect, &values, nullptr) == SQLITE_OK) return {};
    const int code = sqlite3_errcode(db) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED ? kCatalogueBusy : sqlite3_errmsg(db);
}

std::string CannotRead(const std::string& error) {
    return error == kCatalogueBusy ? error : "The catalogue cannot be read: " + error;
}

std::vector<std::string> Lowered(std::vector<std::string> names) {
    for (std::string& name : names) name = Lower(name);
    return names;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), Lower(name)) != names.end();
}

// The column names of a table as its CREATE text lists them.
std::vector<std::string> ColumnsOf(const CatalogueTable& table) {
    std::vector<std::string> columns;
    const std::string_view text = table.Create;
    std::size_t at = text.find('(') + 1;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of(" ,)", at);
        columns.emplace_back(text.substr(at, end - at));
        at = text.find(',', end);
        at = at == std::string_view::npos ? text.size() : at + 1;
    }
    return columns;
}

// A table or a column the program reads is missing; what a newer program added does no harm.
std::string MissingPart(sqlite3* db) {
    std::vector<std::string> tables;
    if (std::string error = Collect(db, "SELECT name FROM sqlite_master WHERE type='table';", tables); !error.empty())
        return CannotRead(error);
    tables = Lowered(tables);
    for (const CatalogueTable& table : kCatalogueTables) {
        if (!Contains(tables, table.Name)) return "The catalogue lacks the table " + std::string(table.Name);
        std::vector<std::string> columns;
        if (std::string error = Collect(db, "SELECT name FROM pragma_table_info('" + std::string(table.Name) + "');", columns);
            !error.empty())
            return CannotRead(error);
        columns = Lowered(columns);
        for (const std::string& column : ColumnsOf(table)) {
            if (!Contains(columns, column))
                return "The catalogue's table " + std::string(table.Name) + " lacks the column " + column;
        }
    }
    return {};
}

// SQLite reads a damaged page only when a statement needs it; reading every page now refuses
// the file before anything is shown or written.
std::string Damage(sqlite3* db) {
    std::vector<std::string> problems;
    if (std::string error = Collect(db, "PRAGMA quick_check(1);", problems); !error.empty())
        return error == kCatalogueBusy ? error : "The catalogue file is damaged: " + error;
    return problems.size() == 1 && problems.front() == "ok" ? "" : kUnreadablePages;
}

// Reads the file without changing it: a read-only connection writes nothing, not even a journal.
std::string WhyNotReadable(const std::string& path, bool readEveryPage) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    ReadOnlyDatabase db(raw);
    if (rc != SQLITE_OK) return "The catalogue cannot be read: " + std::string(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    sqlite3_busy_timeout(db.get(), kBusyWaitMs);  // another program may be committing just now
    if (std::string missing = MissingPart(db.get()); !missing.empty()) return missing;
    return readEveryPage ? Damage(db.get()) : "";
}

// The first bytes of the file; "" with errno set when it cannot be read.
std::string ReadHeader(const std::string& path) {
    const UniqueFile file = OpenUniqueFile(path, "rb");
    if (!file) return {};
    char header[100];
    const std::size_t got = std::fread(header, 1, sizeof header, file.get());
    return std::string(header, got);
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// A copy broken off part of the way reads well until the first missing page; the header knows
// how long the file was.
bool Truncated(const std::string& header, std::int64_t size) {
    if (header.size() < 100) return true;
    const std::uint32_t pageSize = BigEndian(header, 16, 2) == 1 ? 65536 : BigEndian(header, 16, 2);
    const bool countValid = BigEndian(header, 24, 4) == BigEndian(header, 92, 4);  // as SQLite trusts it
    if (pageSize < 512) return false;  // not a header SQLite would write; the engine says more
    return countValid && static_cast<std::int64_t>(BigEndian(header, 28, 4)) * pageSize > size;
}

std::string WhyNotCatalogue(const std::string& path, bool readEveryPage) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return "No such file";
        return std::string("Cannot read the file: ") + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode)) return "This is a folder, not a catalogue file";
    if (info.st_size == 0) return "The file is empty";
    const std::string header = ReadHeader(path);
    if (header.empty()) return std::string("Cannot read the file: ") + std::strerror(errno);
    if (header.starts_with("** This file contains an SQLite 2"))
        return "This catalogue was written by an SQLite 2 program; convert it with: "
               "sqlite OLD.rvd .dump | sqlite3 NEW.rvd";
    if (!header.starts_with(std::string_view("SQLite format 3\0", 16))) return "Not an SQLite database";
    if (Truncated(header, info.st_size)) return "The catalogue file is damaged: it is shorter than it should be (truncated)";
    return WhyNotReadable(path, readEveryPage);
}

}  // namespace

std::string CreateNewDatabase(clsSQLite& store, const std::string& path) {
    std::error_code ignored;
    if (fs::exists(fs::symlink_status(path, ignored))) return "File already exists";
    if (std::string error = MakeTables(path); !error.empty()) {
        RemoveHalfMadeFile(path);
        return error;
    }
    return store.OpenDB(path);
}

CatalogueCheck IsCatalogue(const std::string& path, bool readEveryPage) { return {WhyNotCatalogue(path, readEveryPage)}; }

std::string OpenCatalogue(clsSQLite& store, const std::string& path, bool readEveryPage) {
    if (const CatalogueCheck check = IsCatalogue(path, readEveryPage); !check) return check.Reason;
    return OpenCheckedCatalogue(store, path);
}

std::string OpenCheckedCatalogue(clsSQLite& store, const std::string& path) {
    if (std::string error = store.OpenDB(path); !error.empty()) return error;
    if (!store.ReadOnly()) AddIndexes(store);  // only speed is lost without them
    return {};
}
