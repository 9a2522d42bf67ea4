// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/modCheck.h"

#include <sqlite3.h>

#include <memory>

#include "store/modSchema.h"

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

constexpr const char* kUnreadable = "The catalogue cannot be read: ";
constexpr const char* kIntegrity = "SQLite's integrity check: ";

// Rows of one column as texts; when the query fails, the engine's message after failure is
// added to problems.
std::vector<std::string> Column(sqlite3* db, const std::string& sql, std::vector<std::string>& problems,
                                const char* failure = kUnreadable) {
    std::vector<std::string> values;
    const auto collect = [](void* target, int, char** row, char**) {
        static_cast<std::vector<std::string>*>(target)->push_back(row[0] ? row[0] : "");
        return 0;
    };
    if (sqlite3_exec(db, sql.c_str(), collect, &values, nullptr) != SQLITE_OK)
        problems.push_back(failure + std::string(sqlite3_errmsg(db)));
    return values;
}

struct Rule {
    const char* Count;     // SELECT count(*) of the offending rows
    const char* Problem;   // what they are, after their number
};

// 0 and NULL both mean "none" for a file's type and category: older catalogues hold either.
constexpr Rule kRules[] = {
    {"SELECT count(*) FROM tblFile WHERE ifnull(Type, 0) <> 0 AND Type NOT IN (SELECT FileTypeID FROM tblFileType)",
     "file records name a file type the catalogue lacks"},
    {"SELECT count(*) FROM tblFile WHERE ifnull(Category, 0) <> 0 AND Category NOT IN (SELECT CategoryID FROM tblCategory)",
     "file records name a category the catalogue lacks"},
    {"SELECT count(*) FROM tblFileKeywordJunction WHERE KeywordID NOT IN (SELECT KeywordID FROM tblKeyword)",
     "keyword links name a keyword the catalogue lacks"},
    {"SELECT count(*) FROM tblFileKeywordJunction WHERE FileID NOT IN (SELECT FileID FROM tblFile)",
     "keyword links name a file record the catalogue lacks"},
    {"SELECT count(*) FROM tblFileExtensionJunction WHERE ExtensionID NOT IN (SELECT ExtensionID FROM tblFileExtension)",
     "extension links name an extension the catalogue lacks"},
    {"SELECT count(*) FROM tblFileExtensionJunction WHERE FileTypeID NOT IN (SELECT FileTypeID FROM tblFileType)",
     "extension links name a file type the catalogue lacks"},
};

constexpr const char* kNumberColumns[] = {"Size", "Length", "Rating", "Type", "Category"};

void CheckReferences(sqlite3* db, std::vector<std::string>& problems) {
    for (const Rule& rule : kRules) {
        for (const std::string& count : Column(db, rule.Count, problems)) {
            if (count != "0") problems.push_back(count + " " + rule.Problem);
        }
    }
}

void CheckNumbers(sqlite3* db, std::vector<std::string>& problems) {
    for (const char* column : kNumberColumns) {
        const std::string sql = std::string("SELECT count(*) FROM tblFile WHERE typeof(") + column +
                                ") NOT IN ('integer', 'null')";
        for (const std::string& count : Column(db, sql, problems)) {
            if (count != "0") problems.push_back(count + " file records hold something other than a whole number as " + column);
        }
    }
}

void CheckIntegrity(sqlite3* db, std::vector<std::string>& problems) {
    // A page damaged badly enough stops the check itself, after what it found until then.
    std::vector<std::string> stopped;
    for (const std::string& finding : Column(db, "PRAGMA integrity_check(20);", stopped, kIntegrity)) {
        if (finding != "ok") problems.push_back(kIntegrity + finding);
    }
    problems.insert(problems.end(), stopped.begin(), stopped.end());
}

}  // namespace

std::vector<std::string> CheckCatalogue(const std::string& path) {
    const CatalogueCheck catalogue = IsCatalogue(path);
    const bool damaged = catalogue.Reason == kUnreadablePages;
    if (!catalogue && !damaged) return {catalogue.Reason};  // nothing further can be read
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const Database db(raw);
    if (rc != SQLITE_OK) return {kUnreadable + std::string(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))};
    sqlite3_busy_timeout(db.get(), kBusyWaitMs);
    std::vector<std::string> problems;
    CheckIntegrity(db.get(), problems);
    if (!damaged) {
        CheckReferences(db.get(), problems);
        CheckNumbers(db.get(), problems);
    }
    return problems;
}
