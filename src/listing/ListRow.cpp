// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/ListRow.h"

const std::array<ListColumn, kListColumnCount> kListColumns = {{
    {"File Name", false, 100},
    {"Title", false, 100},
    {"Type", false, 100},
    {"Category", false, 100},
    {"CRC", false, 70},
    {"Size", true, 70},
    {"Length", true, 100},
    {"FourCC", false, 51},
    {"Rating", true, 50},
    {"Keywords", false, 120},
}};

std::string RowKey(int fileID) { return "KEY" + std::to_string(fileID); }

std::string KeywordText(const std::vector<std::string>& keywords) {
    std::string text;
    for (const std::string& keyword : keywords) {
        if (!text.empty()) text += ", ";
        text += keyword;
    }
    return text;
}

std::string CellText(Catalogue& catalogue, const FileRecord& record, int column) {
    switch (column) {
    case FileNameColumn: return record.FileName;
    case TitleColumn: return record.Title;
    case TypeColumn:
        return catalogue.FileTypes.GotoFileTypeID(record.TypeID) ? catalogue.FileTypes.FileType() : std::string();
    case CategoryColumn:
        return catalogue.Categories.GotoCategoryID(record.CategoryID) ? catalogue.Categories.Category() : std::string();
    case CRCColumn: return record.CRC;
    case SizeColumn: return std::to_string(record.Size);
    case LengthColumn: return std::to_string(record.Length);
    case FourCCColumn: return record.FourCC;
    case RatingColumn: return std::to_string(record.Rating);
    default: return KeywordText(record.Keywords);
    }
}

ListRow RowTexts(Catalogue& catalogue, const FileRecord& record) {
    ListRow row;
    for (int column = 0; column < kListColumnCount; ++column) row[column] = CellText(catalogue, record, column);
    return row;
}
