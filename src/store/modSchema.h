// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue file: its seven tables, making a new one, and telling one from other files.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/clsSQLite.h"

struct CatalogueTable {
    std::string_view Name;
    std::string_view Create;  // exactly as it runs; the runs of blanks are part of the text
};
// The seven tables of a catalogue, in the order they are created.
extern const std::array<CatalogueTable, 7> kCatalogueTables;

// Indexes that make the look-ups by keyword and extension text, and the rewrites of one file's or
// one type's links, independent of the catalogue's size. They change no row and no result.
extern const std::array<std::string_view, 4> kCatalogueIndexes;

// Creates an empty catalogue at exactly path and makes it the open one of store (closing the one
// that was open). Returns "" on success; "File already exists" when anything is at path; otherwise
// the engine's message, with no file left behind and the catalogue that was open still open.
std::string CreateNewDatabase(clsSQLite& store, const std::string& path);

// Whether an existing file is a catalogue, and when not, why, in a sentence for the user.
struct CatalogueCheck {
    std::string Reason;  // "" for a catalogue
    explicit operator bool() const { return Reason.empty(); }
};
// The reason given for a file with pages SQLite cannot read; rvcli check tells which.
inline constexpr const char* kUnreadablePages = "The catalogue file is damaged: some of its pages cannot be read";
// Reads the file without changing it, every page of it. A file that is damaged (truncated, pages
// unreadable) or lacks a table or column the program uses is refused; tables and columns a newer
// program added are no reason to refuse it.
// Without readEveryPage, the damage that only reading every page finds is left for the statements
// that meet it: for a command that reads a small part of a large catalogue.
CatalogueCheck IsCatalogue(const std::string& path, bool readEveryPage = true);

// Opens an existing catalogue in store after checking that it is one: "" or the sentence of
// IsCatalogue (the catalogue that was open then stays open), or the engine's message.
// Adds the indexes that an older catalogue lacks; a file that cannot take them (read-only,
// say) opens all the same.
std::string OpenCatalogue(clsSQLite& store, const std::string& path, bool readEveryPage = true);
// OpenCatalogue after IsCatalogue passed the file, so that the check may run elsewhere first.
std::string OpenCheckedCatalogue(clsSQLite& store, const std::string& path);
