// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/CsvText.h"

void AppendCSVField(std::string& out, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CSVLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        AppendCSVField(line, fields[i]);
    }
    return line + "\r\n";
}

std::string FileCSVHeader() {
    std::vector<std::string> headers{"FileID"};
    for (const ListColumn& column : kListColumns) headers.emplace_back(column.Header);
    return CSVLine(headers);
}

void AppendFileCSVLine(std::string& out, int fileID, const ListRow& texts) {
    out += std::to_string(fileID);  // digits alone need no quotes
    for (const std::string& text : texts) {
        out += ',';
        AppendCSVField(out, text);
    }
    out += "\r\n";
}
