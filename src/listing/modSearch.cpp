// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/modSearch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "store/clsSQLStatement.h"

namespace {

bool IsComparison(const std::string& text) { return text == "<" || text == "=" || text == ">"; }

std::string Like(const std::string& column, const std::string& text) {
    std::string quoted = QuoteSQLText(text);  // 'text' with its quotes doubled
    return column + " LIKE '%" + quoted.substr(1, quoted.size() - 2) + "%'";
}

bool HasEveryKeyword(const FileRecord& record, const std::vector<std::string>& keywords) {
    return std::all_of(keywords.begin(), keywords.end(), [&](const std::string& wanted) {
        return std::find(record.Keywords.begin(), record.Keywords.end(), wanted) != record.Keywords.end();
    });
}

bool OnWantedDrive(const Catalogue& catalogue, const FileRecord& record, const SearchFields& fields) {
    if (fields.DriveID && record.DriveID != *fields.DriveID) return false;
    return !fields.PluggedIn || RecordPluggedIn(catalogue, record) == *fields.PluggedIn;
}

}  // namespace

bool RecordPluggedIn(const Catalogue& catalogue, const FileRecord& record) {
    const Drive* drive = catalogue.Drives.ByID(record.DriveID);
    return !drive || drive->Holds(record.FileName);
}

std::string LeadingNumber(const std::string& text) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return "0";
    if (text[start] == '+') ++start;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const bool digitFollows = first < last && (std::isdigit(static_cast<unsigned char>(*first)) || *first == '.' || *first == '-');
    double value = 0;
    // "-inf" and "-nan" pass the test of the first character and parse; SQL knows neither.
    if (!digitFollows || std::from_chars(first, last, value).ec != std::errc() || !std::isfinite(value)) return "0";
    char written[64];
    return std::string(written, std::to_chars(written, written + sizeof written, value).ptr);
}

std::string BuildSearchStatement(Catalogue& catalogue, const SearchFields& fields) {
    clsSQLStatement sql;
    sql.StartSelectStatement("tblFile");
    sql.AddField("tblFile.FileID");
    const auto compare = [&](const char* column, const std::string& comparison, const std::string& number) {
        if (!number.empty() && IsComparison(comparison)) sql.AddWhereClause(column + comparison + LeadingNumber(number));
    };
    if (!fields.FileName.empty()) sql.AddWhereClause(Like("tblFile.FileName", fields.FileName));
    if (!fields.Title.empty()) sql.AddWhereClause(Like("tblFile.Title", fields.Title));
    if (fields.Type && catalogue.FileTypes.GotoFileType(*fields.Type))
        sql.AddWhereClause("tblFile.Type = " + std::to_string(catalogue.FileTypes.FileTypeID()));
    if (fields.Category && catalogue.Categories.GotoCategoryName(*fields.Category))
        sql.AddWhereClause("tblFile.Category = " + std::to_string(catalogue.Categories.CategoryID()));
    if (!fields.CRC.empty()) sql.AddWhereClause(Like("tblFile.CRC", fields.CRC));
    compare("tblFile.Size", fields.SizeComparison, fields.Size);
    compare("tblFile.Length", fields.LengthComparison, fields.Length);
    if (!fields.FourCC.empty()) sql.AddWhereClause(Like("tblFile.FourCC", fields.FourCC));
    compare("tblFile.Rating", fields.RatingComparison, fields.Rating);
    // Without tables of ours to read, no file is known to have any fact.
    for (const FactCondition& fact : fields.Facts)
        sql.AddWhereClause(catalogue.OwnTables.Usable() ? FactSQL(fact) : std::string("0"));
    return sql.GetSQLStatement();
}

SearchResult RunSearch(Catalogue& catalogue, const SearchFields& fields) {
    SearchResult result;
    std::vector<int> ids;
    result.Error = catalogue.Store.Query(BuildSearchStatement(catalogue, fields),
                                         [&](const clsSQLite::Row& row) { ids.push_back(static_cast<int>(row.Int(0))); });
    if (result.Error.empty()) result.Files = FoundRecords(catalogue, ids, fields);
    return result;
}

std::vector<const FileRecord*> FoundRecords(Catalogue& catalogue, const std::vector<int>& ids, const SearchFields& fields) {
    std::vector<const FileRecord*> found;
    found.reserve(ids.size());
    clsFile& files = catalogue.Files;
    for (const int id : ids) {
        if (files.GotoFileID(id) && HasEveryKeyword(*files.Current(), fields.Keywords) &&
            OnWantedDrive(catalogue, *files.Current(), fields))
            found.push_back(files.Current());
    }
    return found;
}
