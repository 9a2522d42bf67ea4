// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/clsSQLite.h"

#include "store/OwnTables.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

namespace {

// Pages a transaction may hold in memory before it must spill them to the file mid-way, which
// costs extra flushes; bulk tools rewrite records scattered over the whole file (KiB, negative).
constexpr const char* kCacheSize = "PRAGMA cache_size=-32768;";

// SQLite keeps its journal beside the file, so a catalogue in a folder that takes no new files
// cannot be written either. A path with nothing there yet is to be created, hence writable.
bool Writable(const std::string& path) {
    if (faccessat(AT_FDCWD, path.c_str(), F_OK, AT_EACCESS) != 0) return true;
    std::error_code ignored;
    const std::string folder = std::filesystem::absolute(path, ignored).parent_path().string();
    // The effective user decides, as it does for the writes themselves.
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 &&
           faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0;
}

// The engine's complaint in words that tell the user what happened to the catalogue, the same for
// every caller.
std::string Failure(sqlite3* db, const std::string& path) {
    switch (sqlite3_errcode(db) & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kCatalogueBusy;
    case SQLITE_READONLY: return "The catalogue is read-only: " + path;
    case SQLITE_FULL: return kCatalogueFull;
    case SQLITE_IOERR: {
        // A write that meets the end of the disk or the size limit fails so, not always as FULL.
        const int cause = sqlite3_system_errno(db);
        if (cause == ENOSPC || cause == EFBIG || cause == EDQUOT) return kCatalogueFull;
        return std::string("The catalogue could not be written or read: ") + sqlite3_errmsg(db);
    }
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return std::string("The catalogue file is damaged: ") + sqlite3_errmsg(db);
    default: return sqlite3_errmsg(db);
    }
}

std::string JournalMode(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode;", -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    const unsigned char* mode = raw && sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_text(raw, 0) : nullptr;
    return mode ? reinterpret_cast<const char*>(mode) : "";
}

int Bind(sqlite3_stmt* statement, int index, const Cell& value) {
    if (value.IsNull()) return sqlite3_bind_null(statement, index);
    if (value.IsText()) {
        const std::string text = value.AsText();
        return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    return sqlite3_bind_int64(statement, index, value.AsInt());
}

Cell ReadCell(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: return Cell(static_cast<std::int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT: return Cell(sqlite3_column_double(statement, column));
    case SQLITE_NULL: return Cell();
    default: {
        // Text and blobs alike arrive as bytes; the length matters, a text may hold a NUL.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return Cell(std::string(bytes ? bytes : "", sqlite3_column_bytes(statement, column)));
    }
    }
}

}  // namespace

void clsSQLite::StatementCloser::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

clsSQLite::~clsSQLite() {
    ClearResult();
    CloseDB();
}

bool clsSQLite::MoveNext() {
    if (currentRow_ + 1 >= recordCount_) return false;
    ++currentRow_;
    return true;
}

bool clsSQLite::MoveFirst() {
    if (recordCount_ < 1) return false;
    currentRow_ = 0;
    return true;
}

bool clsSQLite::MovePrevious() {
    if (currentRow_ - 1 < 0) return false;
    --currentRow_;
    return true;
}

bool clsSQLite::ReadOnly() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }

void clsSQLite::SetBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (db_) sqlite3_busy_timeout(db_, milliseconds);
}

void clsSQLite::ReleaseCache() {
    if (db_) sqlite3_db_release_memory(db_);
}

bool clsSQLite::IsEOF() const { return currentRow_ + 1 >= recordCount_; }

std::int64_t clsSQLite::LastRowID() const {
    return db_ ? static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_)) : -1;
}

const Cell& clsSQLite::Field(int index) const {
    static const Cell kNull;
    if (index < 0 || index >= columnCount_ || currentRow_ < 0 || currentRow_ >= recordCount_)
        return kNull;
    return cells_[static_cast<std::size_t>(currentRow_) * columnCount_ + index];
}

std::string clsSQLite::Execute(const std::string& sql) {
    if (!db_) return "SQLite database not open";
    ClearResult();
    const char* next = sql.c_str();
    const char* const end = next + sql.size();
    while (next < end) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db_, next, static_cast<int>(end - next), &raw, &tail);
        Statement statement(raw);
        if (rc != SQLITE_OK) {
            ClearResult();
            return Failure(db_, fileName_);
        }
        next = tail;
        if (!statement) continue;  // only blanks or a comment were left
        if (std::string error = ReadRows(statement.get()); !error.empty()) {
            ClearResult();
            return error;
        }
    }
    if (recordCount_ > 0) currentRow_ = 0;
    return {};
}

sqlite3_stmt* clsSQLite::Compiled(const std::string& sql, std::string& error) {
    if (const auto kept = compiled_.find(sql); kept != compiled_.end()) return kept->second.get();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &raw, nullptr) !=
        SQLITE_OK) {
        error = Failure(db_, fileName_);
        sqlite3_finalize(raw);
        return nullptr;
    }
    if (!raw) {
        error = "No statement to run";
        return nullptr;
    }
    return compiled_.emplace(sql, Statement(raw)).first->second.get();
}

std::string clsSQLite::Execute(const std::string& sql, const std::vector<Cell>& params) {
    if (!db_) return "SQLite database not open";
    ClearResult();
    std::string error;
    sqlite3_stmt* statement = Compiled(sql, error);
    for (int i = 0; statement && i < static_cast<int>(params.size()); ++i) {
        if (Bind(statement, i + 1, params[i]) != SQLITE_OK) error = Failure(db_, fileName_);
    }
    if (statement && error.empty()) error = ReadRows(statement);
    if (statement) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
    if (!error.empty()) {
        ClearResult();
        return error;
    }
    if (recordCount_ > 0) currentRow_ = 0;
    return {};
}

std::int64_t clsSQLite::Row::Int(int column) const { return sqlite3_column_int64(statement_, column); }

double clsSQLite::Row::Real(int column) const { return sqlite3_column_double(statement_, column); }

std::string_view clsSQLite::Row::Text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return bytes ? std::string_view(bytes, sqlite3_column_bytes(statement_, column)) : std::string_view();
}

int clsSQLite::Row::SortClass(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_NULL: return 0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return 1;
    case SQLITE_TEXT: return 2;
    default: return 3;
    }
}

std::string clsSQLite::Query(const std::string& sql, const std::function<void(const Row&)>& visit) {
    if (!db_) return "SQLite database not open";
    ClearResult();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        return Failure(db_, fileName_);
    const Statement statement(raw);
    if (!statement) return {};  // only blanks or a comment
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) visit(Row(raw));
    return rc == SQLITE_DONE ? std::string() : Failure(db_, fileName_);
}

std::string clsSQLite::ReadRows(sqlite3_stmt* statement) {
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(statement);
        if (recordCount_ > 0 && columns != columnCount_)
            return "The statements return rows of different widths";
        columnCount_ = columns;
        for (int column = 0; column < columns; ++column) cells_.push_back(ReadCell(statement, column));
        ++recordCount_;
    }
    return rc == SQLITE_DONE ? std::string() : Failure(db_, fileName_);
}

// Under a rollback journal no change can be committed while a connection holds its read lock,
// so a second connection that takes its lock meanwhile sees the same state. In WAL mode readers
// do not hold writers back, so nothing would be promised.
std::string clsSQLite::OpenBeside(clsSQLite& reading) {
    CloseDB();
    if (!reading.db_ || sqlite3_txn_state(reading.db_, "main") != SQLITE_TXN_READ) return "no read transaction to join";
    const char* file = sqlite3_db_filename(reading.db_, "main");
    if (!file || !*file) return "the catalogue is not in a file";
    if (JournalMode(reading.db_) == "wal") return "WAL mode";
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file, &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    db_ = raw;  // with no busy wait: a writer waiting for reading's lock would wait for this one too
    fileName_ = file;
    std::string error = rc == SQLITE_OK ? "" : raw ? Failure(raw, fileName_) : sqlite3_errstr(rc);
    if (error.empty()) error = RunQuietly("BEGIN;");
    if (error.empty()) error = RunQuietly("SELECT count(*) FROM sqlite_master;");  // takes the lock now
    if (!error.empty()) CloseDB();
    return error;
}

std::string clsSQLite::OpenDB(const std::string& path) {
    CloseDB();
    sqlite3* raw = nullptr;
    // A connection is used by one thread at a time (a loader's or a tool's has its own), so the
    // engine need not take its lock around every value read: a load reads tens of millions.
    const int flags = (Writable(path) ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    std::string error = rc == SQLITE_OK ? "" : raw ? Failure(raw, path) : sqlite3_errstr(rc);
    if (error.empty()) {
        sqlite3_busy_timeout(raw, busyTimeoutMs_);
        sqlite3_exec(raw, kCacheSize, nullptr, nullptr, nullptr);  // only speed is lost without it
        AddPathKeyFunction(raw);
        // SQLite reads the file lazily; reading the schema now makes a file that is no
        // database fail here rather than at the first statement.
        if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) != SQLITE_OK)
            error = Failure(raw, path);
    }
    if (!error.empty()) {
        sqlite3_close(raw);
        return error;
    }
    db_ = raw;
    fileName_ = path;
    return {};
}

void clsSQLite::CloseDB() {
    if (!db_) return;
    compiled_.clear();
    sqlite3_close(db_);
    db_ = nullptr;
    fileName_.clear();
    transactionDepth_ = 0;
}

void clsSQLite::ClearResult() {
    std::vector<Cell>().swap(cells_);  // hand the memory of a large result back at once
    recordCount_ = 0;
    columnCount_ = 0;
    currentRow_ = -1;
}

std::string clsSQLite::RunQuietly(const std::string& sql) {
    if (!db_) return "SQLite database not open";
    std::string error;
    sqlite3_stmt* statement = Compiled(sql, error);
    if (!statement) return error;
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    // reset hands back the step's failure, as errmsg would before it
    if (sqlite3_reset(statement) != SQLITE_OK) error = Failure(db_, fileName_);
    return error;
}

clsSQLite::Transaction::Transaction(clsSQLite& store)
    : store_(store), name_("rv_unit" + std::to_string(store.transactionDepth_ + 1)) {
    beginError_ = store_.RunQuietly("SAVEPOINT " + name_ + ";");
    open_ = beginError_.empty();
    if (open_) ++store_.transactionDepth_;
}

clsSQLite::Transaction::~Transaction() { Rollback(); }

std::string clsSQLite::Transaction::Commit() {
    if (!open_) return beginError_.empty() ? "The transaction has already ended" : beginError_;
    std::string error = store_.RunQuietly("RELEASE " + name_ + ";");
    if (!error.empty()) {
        Rollback();
        return error;
    }
    End();
    return {};
}

void clsSQLite::Transaction::Rollback() {
    if (!open_) return;
    // When the engine has already undone the whole transaction (a full disk, say), the
    // savepoint is gone and this fails harmlessly.
    store_.RunQuietly("ROLLBACK TO " + name_ + ";");
    store_.RunQuietly("RELEASE " + name_ + ";");
    End();
    if (store_.transactionDepth_ == 0 && store_.db_ && !sqlite3_get_autocommit(store_.db_))
        store_.RunQuietly("ROLLBACK;");
}

void clsSQLite::Transaction::End() {
    open_ = false;
    if (store_.transactionDepth_ > 0) --store_.transactionDepth_;  // 0 already when the file was closed
}
