// SPDX-License-Identifier: GPL-3.0-or-later
// Reelvault's own tables beside the seven: what the program knows beyond them (the drives files lie
// on, the contents' hashes, the media facts). A program that knows only the seven never reads them, and may change
// the seven meanwhile: every row here that belongs to a record keeps the key of the path it was made
// for (PathKey), so a record whose path changed, or whose FileID was given to another file, is not
// trusted. The tables are versioned: each version adds to the last in one step, all or nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/clsSQLite.h"

// The version this program makes and reads.
inline constexpr int kOwnTablesVersion = 2;

enum class OwnTablesState {
    Absent,   // a catalogue no program of ours has written yet
    Current,  // made by this version: read and written
    Older,    // made by an older version: read and written once the step has run
    Newer,    // made by a newer program: neither read nor written, so nothing of it is lost
    Damaged,  // a table or column of ours is missing: made anew on the next step
};

struct OwnTablesStatus {
    OwnTablesState State = OwnTablesState::Absent;
    int Version = 0;   // as the catalogue says; 0 when it says nothing
    std::string Note;  // a sentence for the user when the step could not simply run; "" otherwise
    bool Usable() const { return State == OwnTablesState::Current; }
};

// Reads which state the catalogue's own tables are in, writing nothing. Absent with no catalogue open.
OwnTablesStatus ReadOwnTables(clsSQLite& store);

// The schema step: brings the tables to kOwnTablesVersion in one transaction, or leaves them be.
// - Absent or Older: made or completed; Current afterwards.
// - Damaged: our tables are dropped and made anew, empty (the seven are never touched); Current,
//   with a Note saying what was lost.
// - Newer: nothing written, with a Note.
// - A read-only catalogue is never written: its state is returned as it is, without a Note.
// A failed write (busy, full disk) comes back as Note with the state unchanged; nothing half made.
OwnTablesStatus MakeOwnTables(clsSQLite& store);

// The tables whose rows each belong to one record, by FileID: a record deleted takes its rows here
// with it.
extern const std::array<std::string_view, 5> kPerFileTables;

// Deletes the rows of the per-file tables whose record is gone. "" or the engine's message.
std::string DeleteOrphanRows(clsSQLite& store);

// The key a row of ours keeps of the record's path as it was when the row was written: a stable
// 64-bit hash of its bytes (the same in every build and on every machine).
std::int64_t PathKey(std::string_view path);

struct sqlite3;
// Lets the connection's SQL compute PathKey as rv_path_key(TEXT), so that rows can be rewritten
// thousands at a time in one statement. Done for every connection clsSQLite opens.
void AddPathKeyFunction(sqlite3* db);
