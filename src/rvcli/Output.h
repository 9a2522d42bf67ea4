// SPDX-License-Identifier: GPL-3.0-or-later
// Rows of files, and other small tables, as text for a terminal, as CSV and as JSON.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "facts/FactRows.h"
#include "model/Catalogue.h"
#include "listing/ListRow.h"

enum class Format { Table, CSV, JSON };
// The names --format takes.
extern const std::map<std::string, Format> kFormats;

struct TextTable {
    std::vector<std::string> Headers;
    std::vector<bool> RightAligned;  // per column; missing entries are left-aligned
    std::vector<std::vector<std::string>> Rows;
};

// The text with every control character written as an escape ("\n", "\x1b"), so that a name
// cannot move the cursor or recolour the terminal it is printed on.
std::string Printable(const std::string& text);

// Columns padded to their widest cell (counted in characters of UTF-8) and two blanks apart; no
// blanks end a line. Cells are made printable.
std::string RenderTable(const TextTable& table);
// RFC 4180: a header line, CR LF line ends, a field quoted when it holds a comma, a quote or a
// line end, with its quotes doubled. Cells are written exactly.
std::string RenderCSV(const TextTable& table);

// A file of the results list: its record, the ten texts of its row, and its drive's name.
struct FileRow {
    const FileRecord* Record;
    ListRow Texts;
    std::string Drive;  // "" while the record's drive is not known
    const MediaFacts* Media = nullptr;  // null when the record has no facts, or none were asked for
};

// With facts, each row points at its record's facts in them, which must outlive the rows.
std::vector<FileRow> MakeFileRows(Catalogue& catalogue, const std::vector<const FileRecord*>& records,
                                  const FactSet* facts = nullptr);
// The rows with FileID first and then the ten columns of the list. JSON gives an array of objects
// with numbers as numbers, the keywords as an array, the drive's name and then the Media object
// (see RenderFacts; null without facts); bytes that are not UTF-8 (possible in a
// file name) are written as U+FFFD.
std::string RenderFiles(const std::vector<FileRow>& rows, Format format);
// The same text as RenderFiles of the records' rows as CSV, each row made as it is written rather
// than all of them held at once.
// The records' facts as JSON, an array of {FileID, FileName, Media}: Media holds Container, Video
// (null for sound alone), Audio (an array), Subtitles (Count and Languages) and Tags.
std::string RenderFacts(const std::vector<FileRow>& rows);
std::string RenderFilesCSV(Catalogue& catalogue, const std::vector<FileRecord>& records);
