// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/ExportRows.h"

#include <ctime>

#include "export/CsvText.h"
#include "export/HtmlPage.h"
#include "support/modAtomicFile.h"

std::vector<ExportRow> ExportRowsOf(Catalogue& catalogue, const std::vector<const FileRecord*>& records) {
    std::vector<ExportRow> rows;
    rows.reserve(records.size());
    for (const FileRecord* record : records) rows.push_back({record->FileID, RowTexts(catalogue, *record)});
    return rows;
}

std::string CatalogueName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExportDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : "";
}

std::string RenderExport(ExportFormat format, const ExportHeading& heading, const std::vector<ExportRow>& rows) {
    if (format == ExportFormat::HTML) return RenderHTMLPage(heading, rows);
    std::string text = FileCSVHeader();
    for (const ExportRow& row : rows) AppendFileCSVLine(text, row.FileID, row.Texts);
    return text;
}

std::string WriteExport(const std::string& path, const std::string& text) { return WriteFileAtomically(path, text); }
