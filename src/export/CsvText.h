// SPDX-License-Identifier: GPL-3.0-or-later
// RFC 4180 text: a header line, CR LF line ends, a field quoted when it holds a comma, a quote or a
// line end, with its quotes doubled. Fields are otherwise written exactly, byte for byte.
#pragma once

#include <string>
#include <vector>

#include "listing/ListRow.h"

// Appends rather than returns: a list of a million files is made of ten million fields.
void AppendCSVField(std::string& out, const std::string& text);
// The fields joined by commas, with the line end.
std::string CSVLine(const std::vector<std::string>& fields);
// "FileID" and the headers of the list's ten columns, as one line.
std::string FileCSVHeader();
// The FileID and the row's ten texts, as one line.
void AppendFileCSVLine(std::string& out, int fileID, const ListRow& texts);
