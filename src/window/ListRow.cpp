// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ListRow.h"

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

ListRow RowTexts(Catalogue& catalogue, const FileRecord& record) {
    clsFileType& types = catalogue.FileTypes;
    clsCategory& categories = catalogue.Categories;
    return {record.FileName,
            record.Title,
            types.GotoFileTypeID(record.TypeID) ? types.FileType() : std::string(),
            categories.GotoCategoryID(record.CategoryID) ? categories.Category() : std::string(),
            record.CRC,
            std::to_string(record.Size),
            std::to_string(record.Length),
            record.FourCC,
            std::to_string(record.Rating),
            KeywordText(record.Keywords)};
}
