// SPDX-License-Identifier: GPL-3.0-or-later
// Listed files handed to someone without the program: as CSV or as one web page. The rows are given
// in the order they are to appear; nothing here sorts or searches.
#pragma once

#include <string>
#include <vector>

#include "listing/ListRow.h"

struct ExportRow {
    int FileID = 0;
    ListRow Texts;  // the list's ten texts of the record
};

enum class ExportFormat { CSV, HTML };

// What stands above the table of a page.
struct ExportHeading {
    std::string Catalogue;  // the catalogue's name, as a person knows it
    std::string Date;       // when the list was made, already in words or digits
};

// The row of each record, in the order given.
std::vector<ExportRow> ExportRowsOf(Catalogue& catalogue, const std::vector<const FileRecord*>& records);
// The catalogue's file name without its folder: what heads its exports.
std::string CatalogueName(const std::string& path);
// Now, in local time: "2026-12-07 19:30".
std::string ExportDateNow();

// The text of the export in the format chosen; the heading is used by the page only.
std::string RenderExport(ExportFormat format, const ExportHeading& heading, const std::vector<ExportRow>& rows);
// Writes the text to path through a temporary file beside it that is then renamed, so path holds
// either what it held before or the whole export. "" or "Could not write PATH: REASON".
std::string WriteExport(const std::string& path, const std::string& text);
