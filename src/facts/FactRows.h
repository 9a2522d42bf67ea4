// SPDX-License-Identifier: GPL-3.0-or-later
// The media facts of the records, kept in the catalogue's own tables rvFileMedia and rvFileStream
// with the key of the path they were read from (see OwnTables.h): facts read for another path are
// not the record's and are never read back. A record whose file was not media has no row. Rows
// stay when a drive is away: the facts are what a person browses while it is.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "analysis/MediaFacts.h"
#include "model/clsFile.h"
#include "store/clsSQLite.h"

// Replaces the record's facts with these, read from the file at path. Call inside the transaction
// that writes the record, so that the two are one unit. "" or the engine's message.
std::string StoreFacts(clsSQLite& store, int fileID, const std::string& path, const MediaFacts& facts);
// Drops the record's facts: its file is no longer media. "" or the engine's message.
std::string ForgetFacts(clsSQLite& store, int fileID);
// Stores facts when there are some, forgets the old ones otherwise; nothing at all where the
// catalogue's own tables are not this program's to write (read-only, or a newer version's).
std::string KeepFacts(clsSQLite& store, bool ownTablesUsable, int fileID, const std::string& path,
                      const std::optional<MediaFacts>& facts);

// The record's facts, when it has a row made for this path. Empty where the catalogue's own
// tables are not this program's to read. error: "" or the engine's message.
std::optional<MediaFacts> ReadFactsOf(clsSQLite& store, int fileID, const std::string& path, std::string& error);

// Every trusted row, by FileID, for showing many records at once. "" or the engine's message (and
// then empty).
class FactSet {
public:
    std::string LoadFromDatabase(clsSQLite& store, const clsFile& files);
    // Null when the record has no trusted facts.
    const MediaFacts* Of(int fileID) const;
    std::size_t Count() const { return rows_.size(); }
    void Remember(int fileID, std::optional<MediaFacts> facts);

private:
    std::unordered_map<int, MediaFacts> rows_;
};
