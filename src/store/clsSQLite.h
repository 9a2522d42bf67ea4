// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into a catalogue: one open SQLite 3 file, one statement at a time, and the whole
// result of the last statement held in memory and walked with a cursor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/Cell.h"

// Another program (a second window, a cron job) may hold the file for a moment; a statement
// waits this long for it by default.
inline constexpr int kBusyWaitMs = 3000;
// What every write says when another program holds the catalogue's write lock past the wait.
inline constexpr const char* kCatalogueBusy = "The catalogue is busy: another program is writing to it";

// What a write says that found no room: a full disk, a quota, a limit on the size of files.
inline constexpr const char* kCatalogueFull =
    "The catalogue could not be written: the disk is full or the file has reached its size limit";

struct sqlite3;
struct sqlite3_stmt;

class clsSQLite {
public:
    clsSQLite() = default;
    clsSQLite(const clsSQLite&) = delete;
    clsSQLite& operator=(const clsSQLite&) = delete;
    ~clsSQLite();

    // Cursor moves never leave the result: at either end they return false and stay put.
    bool MoveNext();
    bool MoveFirst();
    bool MovePrevious();
    // True when no row follows the current one: already on the last row, and for an empty result.
    // (Named so because EOF is a macro of the C library.)
    bool IsEOF() const;

    int RecordCount() const { return recordCount_; }
    // 0 when the last statement returned no rows, even for a SELECT with columns.
    int ColumnCount() const { return columnCount_; }
    // The path exactly as passed to the last successful OpenDB; "" after a failed one.
    const std::string& FileName() const { return fileName_; }
    bool DBOpen() const { return db_ != nullptr; }
    // True when the open catalogue takes no writes: the file or its folder is not writable for
    // this program, so OpenDB opened it for reading only. Writes then fail with "The catalogue
    // is read-only: PATH".
    bool ReadOnly() const;
    // How long a statement waits for another program's write lock before it fails with
    // kCatalogueBusy; for this and later catalogues of this connection.
    void SetBusyTimeout(int milliseconds);
    int BusyTimeout() const { return busyTimeoutMs_; }
    // Hands back the memory of the pages the engine keeps cached (up to 32 MiB) once a read of the
    // whole catalogue has filled the cache with pages no later statement is likelier to want.
    void ReleaseCache();
    // The row ID the last INSERT on this connection gave its row; -1 when no catalogue is open.
    std::int64_t LastRowID() const;

    // Column index of the current row, by position. Out of range, or with no current row, it is
    // the NULL cell, which reads as "" and as 0.
    const Cell& Field(int index) const;

    // Runs the SQL text and holds its rows, replacing the previous result; the cursor then stands
    // on the first row. Returns "" on success, otherwise the engine's message with an empty
    // result; a catalogue that is busy, read-only, full or damaged is named so in a sentence.
    // With no catalogue open: "SQLite database not open", and the old result stays.
    std::string Execute(const std::string& sql);
    // As Execute for one statement whose values are parameters ?1, ?2, ... bound to params in
    // order. Its compiled form is kept, until the catalogue closes, for the next call with the same
    // text: for fixed texts run thousands of times in a bulk operation.
    std::string Execute(const std::string& sql, const std::vector<Cell>& params);

    // One row of a streamed query, valid only during the visit of that row. NULL reads as "" and 0.
    class Row {
    public:
        explicit Row(sqlite3_stmt* statement) : statement_(statement) {}
        std::int64_t Int(int column) const;
        double Real(int column) const;
        std::string_view Text(int column) const;
        // Where ORDER BY puts the value's kind, before comparing values of one kind: 0 NULL,
        // 1 a number, 2 text, 3 a blob.
        int SortClass(int column) const;

    private:
        sqlite3_stmt* statement_;
    };
    // Runs one statement and hands each row to visit as it comes, holding none of them: for
    // results too large to hold whole. The held result is cleared. Returns "" or the engine's
    // message; a failure may come after some rows were visited.
    std::string Query(const std::string& sql, const std::function<void(const Row&)>& visit);

    // Opens the catalogue file at path, creating an empty database when nothing is there, after
    // closing the one that was open. Returns "" or the engine's message; a failed open leaves no
    // catalogue open. A file that is not an SQLite 3 database fails here, not at the first
    // statement. The held result is left alone. A file this program may not write opens for
    // reading only (see ReadOnly).
    std::string OpenDB(const std::string& path);
    // Closes the catalogue if one is open; a second call does nothing.
    void CloseDB();
    // Opens, for reading on another thread, a second connection to the file reading has open that
    // sees what reading's read transaction sees, holding its own read lock until it closes.
    // Returns "" or why that cannot be promised: reading holds no read transaction, or one with
    // changes of its own, the file is in memory or in WAL mode, or a writer stands in the way.
    std::string OpenBeside(clsSQLite& reading);

    // Makes the statements run while it lives one unit: all of them or none. It commits only when
    // told; otherwise the destructor rolls back. Guards nest (savepoints), and neither beginning
    // nor ending one disturbs the held result.
    class Transaction {
    public:
        explicit Transaction(clsSQLite& store);
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        ~Transaction();
        // "" when the transaction began; otherwise why not (no catalogue open, for instance).
        const std::string& BeginError() const { return beginError_; }
        // "" on success. A failed commit rolls back and returns the engine's message.
        std::string Commit();

    private:
        void Rollback();
        void End();

        clsSQLite& store_;
        std::string name_;
        std::string beginError_;
        bool open_ = false;
    };

private:
    void ClearResult();
    // Runs SQL without touching the held result; for transaction control and checks.
    std::string RunQuietly(const std::string& sql);
    std::string ReadRows(sqlite3_stmt* statement);
    sqlite3_stmt* Compiled(const std::string& sql, std::string& error);

    struct StatementCloser {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

    sqlite3* db_ = nullptr;
    std::string fileName_;
    std::vector<Cell> cells_;  // RecordCount rows of ColumnCount cells, row after row
    int recordCount_ = 0;
    int columnCount_ = 0;
    int currentRow_ = -1;
    int transactionDepth_ = 0;
    int busyTimeoutMs_ = kBusyWaitMs;
    std::unordered_map<std::string, Statement> compiled_;  // by SQL text; emptied before closing
};
