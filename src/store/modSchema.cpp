// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/modSchema.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

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

// Table names, lower-cased as SQLite compares them; "" or the engine's complaint.
std::string ReadTableNames(const std::string& path, std::set<std::string>& names) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    ReadOnlyDatabase db(raw);
    if (rc != SQLITE_OK) return raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
    const auto collect = [](void* target, int, char** values, char**) {
        static_cast<std::set<std::string>*>(target)->insert(Lower(values[0] ? values[0] : ""));
        return 0;
    };
    const char* sql = "SELECT name FROM sqlite_master WHERE type='table';";
    if (sqlite3_exec(db.get(), sql, collect, &names, nullptr) != SQLITE_OK) return sqlite3_errmsg(db.get());
    return {};
}

// The first bytes of the file; "" with errno set when it cannot be read.
std::string ReadHeader(const std::string& path) {
    const UniqueFile file = OpenUniqueFile(path, "rb");
    if (!file) return {};
    char header[64];
    const std::size_t got = std::fread(header, 1, sizeof header, file.get());
    return std::string(header, got);
}

std::string WhyNotCatalogue(const std::string& path) {
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
    std::set<std::string> names;
    if (std::string error = ReadTableNames(path, names); !error.empty())
        return "The catalogue cannot be read: " + error;
    for (const CatalogueTable& table : kCatalogueTables) {
        if (!names.contains(Lower(table.Name))) return "The catalogue lacks the table " + std::string(table.Name);
    }
    return {};
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

CatalogueCheck IsCatalogue(const std::string& path) { return {WhyNotCatalogue(path)}; }

std::string OpenCatalogue(clsSQLite& store, const std::string& path) {
    if (const CatalogueCheck check = IsCatalogue(path); !check) return check.Reason;
    if (std::string error = store.OpenDB(path); !error.empty()) return error;
    AddIndexes(store);  // only speed is lost without them
    return {};
}
