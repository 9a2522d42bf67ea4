// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the results list per file record: its key and its ten texts, the same wherever a list
// of files is shown (the window's list, the search, the command line).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/Catalogue.h"

struct ListColumn {
    const char* Header;
    bool Numeric;  // sorts as a number; also right-aligned
    int Width;     // pixels at 96 dots per inch
};

inline constexpr int kListColumnCount = 10;
extern const std::array<ListColumn, kListColumnCount> kListColumns;
enum ListColumnIndex { FileNameColumn, TitleColumn, TypeColumn, CategoryColumn, CRCColumn,
                       SizeColumn, LengthColumn, FourCCColumn, RatingColumn, KeywordsColumn };

using ListRow = std::array<std::string, kListColumnCount>;

// "KEY" and the file ID in decimal: KEY17.
std::string RowKey(int fileID);
// The keywords joined by ", "; "" for none.
std::string KeywordText(const std::vector<std::string>& keywords);
// The text of one column of the record's row; see RowTexts.
std::string CellText(Catalogue& catalogue, const FileRecord& record, int column);
// The ten texts of the record's row. The type and category names come from the catalogue's sets;
// an ID they do not hold shows as "". Moves the cursors of those two sets.
ListRow RowTexts(Catalogue& catalogue, const FileRecord& record);
