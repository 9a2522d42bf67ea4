// SPDX-License-Identifier: GPL-3.0-or-later
#include "rvcli/Output.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "export/CsvText.h"

const std::map<std::string, Format> kFormats = {{"table", Format::Table}, {"csv", Format::CSV}, {"json", Format::JSON}};

namespace {

std::size_t Characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;  // continuation bytes belong to the character before
    }));
}

std::string TableLine(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths,
                      const std::vector<bool>& rightAligned) {
    std::string line;
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
        const std::string cell = Printable(cells[i]);
        const std::string padding(widths[i] - Characters(cell), ' ');
        const bool right = i < rightAligned.size() && rightAligned[i];
        if (i > 0) line += "  ";
        line += right ? padding + cell : cell + padding;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line + "\n";
}

std::vector<std::string> FileCells(const FileRow& row) {
    std::vector<std::string> cells{std::to_string(row.Record->FileID)};
    cells.insert(cells.end(), row.Texts.begin(), row.Texts.end());
    return cells;
}

TextTable FileHeaders() {
    TextTable table;
    table.Headers.push_back("FileID");
    table.RightAligned.push_back(true);
    for (const ListColumn& column : kListColumns) {
        table.Headers.push_back(column.Header);
        table.RightAligned.push_back(column.Numeric);
    }
    return table;
}

TextTable FileTable(const std::vector<FileRow>& rows) {
    TextTable table = FileHeaders();
    for (const FileRow& row : rows) table.Rows.push_back(FileCells(row));
    return table;
}

std::string FileCSV(const std::vector<FileRow>& rows) {
    std::string text = CSVLine(FileHeaders().Headers);
    for (const FileRow& row : rows) AppendFileCSVLine(text, row.Record->FileID, row.Texts);
    return text;
}

nlohmann::ordered_json StreamJSON(const MediaStream& stream, bool audio) {
    nlohmann::ordered_json json{{"Codec", stream.Codec}};
    if (audio) json.update({{"Channels", stream.Channels}, {"SampleRate", stream.SampleRate}});
    json["Language"] = stream.Language;
    return json;
}

nlohmann::ordered_json MediaJSON(const MediaFacts* facts) {
    if (!facts) return nullptr;
    nlohmann::ordered_json video = nullptr;
    if (!facts->VideoCodec.empty())
        video = {{"Codec", facts->VideoCodec}, {"Width", facts->Width},     {"Height", facts->Height},
                 {"FrameRate", facts->FrameRate}, {"BitRate", facts->BitRate}, {"HDR", facts->HDR}};
    nlohmann::ordered_json audio = nlohmann::ordered_json::array();
    for (const MediaStream& stream : facts->Audio) audio.push_back(StreamJSON(stream, true));
    nlohmann::ordered_json languages = nlohmann::ordered_json::array();
    for (const MediaStream& stream : facts->Subtitles) languages.push_back(stream.Language);
    return {{"Container", facts->Container},
            {"Video", video},
            {"Audio", audio},
            {"Subtitles", {{"Count", facts->SubtitleCount}, {"Languages", languages}}},
            {"Tags",
             {{"Title", facts->Title}, {"Artist", facts->Artist}, {"Album", facts->Album}, {"Date", facts->Date},
              {"Year", facts->Year()}, {"Comment", facts->Comment}}}};
}

std::string JSONText(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string FileJSON(const std::vector<FileRow>& rows) {
    // Ordered, so the keys come in the order of the list's columns.
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const FileRow& row : rows) {
        const FileRecord& record = *row.Record;
        files.push_back({{"FileID", record.FileID},
                         {"FileName", record.FileName},
                         {"Title", record.Title},
                         {"Type", row.Texts[TypeColumn]},
                         {"Category", row.Texts[CategoryColumn]},
                         {"CRC", record.CRC},
                         {"Size", record.Size},
                         {"Length", record.Length},
                         {"FourCC", record.FourCC},
                         {"Rating", record.Rating},
                         {"Keywords", record.Keywords},
                         {"Drive", row.Drive},
                         {"Media", MediaJSON(row.Media)}});
    }
    return JSONText(files);
}

}  // namespace

std::string Printable(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) shown += c;
        else if (c == '\n') shown += "\\n";
        else if (c == '\t') shown += "\\t";
        else if (c == '\r') shown += "\\r";
        else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        }
    }
    return shown;
}

std::string RenderTable(const TextTable& table) {
    std::vector<std::size_t> widths;
    for (const std::string& header : table.Headers) widths.push_back(Characters(Printable(header)));
    for (const auto& row : table.Rows) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], Characters(Printable(row[i])));
    }
    std::string text = TableLine(table.Headers, widths, table.RightAligned);
    for (const auto& row : table.Rows) text += TableLine(row, widths, table.RightAligned);
    return text;
}

std::string RenderCSV(const TextTable& table) {
    std::string text = CSVLine(table.Headers);
    for (const auto& row : table.Rows) text += CSVLine(row);
    return text;
}

std::vector<FileRow> MakeFileRows(Catalogue& catalogue, const std::vector<const FileRecord*>& records, const FactSet* facts) {
    std::vector<FileRow> rows;
    rows.reserve(records.size());
    for (const FileRecord* record : records) {
        const Drive* drive = catalogue.Drives.ByID(record->DriveID);
        rows.push_back({record, RowTexts(catalogue, *record), drive ? drive->Name : std::string(),
                        facts ? facts->Of(record->FileID) : nullptr});
    }
    return rows;
}

std::string RenderFacts(const std::vector<FileRow>& rows) {
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const FileRow& row : rows)
        files.push_back({{"FileID", row.Record->FileID}, {"FileName", row.Record->FileName}, {"Media", MediaJSON(row.Media)}});
    return JSONText(files);
}

std::string RenderFiles(const std::vector<FileRow>& rows, Format format) {
    switch (format) {
    case Format::CSV: return FileCSV(rows);
    case Format::JSON: return FileJSON(rows);
    case Format::Table: break;
    }
    return RenderTable(FileTable(rows));
}

std::string RenderFilesCSV(Catalogue& catalogue, const std::vector<FileRecord>& records) {
    std::string text = CSVLine(FileHeaders().Headers);
    for (const FileRecord& record : records) AppendFileCSVLine(text, record.FileID, RowTexts(catalogue, record));
    return text;
}
