// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/modCatalogue.h"

#include <sys/stat.h>

#include <algorithm>

#include "drives/DriveLinks.h"
#include "store/clsSQLStatement.h"

namespace {

// Runs body in one transaction: "" when body and the commit succeeded; otherwise the first
// message, and everything body wrote is undone.
template <class Body>
std::string InOneTransaction(clsSQLite& store, Body body) {
    clsSQLite::Transaction unit(store);
    if (!unit.BeginError().empty()) return unit.BeginError();
    if (std::string error = body(); !error.empty()) return error;
    return unit.Commit();
}

// The ID of the row whose text column equals text, inserted first when there is none. Needs no
// transaction of its own: only its last statement writes.
NewKey FindOrInsert(clsSQLite& store, const std::string& table, const std::string& key, const std::string& column,
                    const std::string& text) {
    if (!store.DBOpen()) return {0, "SQLite database not open"};
    if (std::string error = store.Execute("SELECT * FROM " + table + " WHERE " + column + "=?1;", {text}); !error.empty())
        return {0, error};
    if (store.RecordCount() > 0) return {static_cast<int>(store.Field(0).AsInt()), ""};
    if (std::string error = store.Execute("INSERT INTO " + table + "(" + key + "," + column + ") VALUES(NULL,?1);", {text});
        !error.empty())
        return {0, error};
    return {static_cast<int>(store.LastRowID()), ""};
}

// Links an owner (a file or a type) to each of the texts, finding or making their rows with keyOf.
template <class KeyOf>
std::string Link(clsSQLite& store, const std::string& link, int owner, const std::vector<std::string>& texts, KeyOf keyOf) {
    for (const std::string& text : texts) {
        const NewKey key = keyOf(text);
        if (!key.Error.empty()) return key.Error;
        if (key.ID <= -1) continue;
        if (std::string error = store.Execute(link, {owner, key.ID}); !error.empty()) return error;
    }
    return {};
}

std::string LinkExtensions(Catalogue& catalogue, int typeID, const std::vector<std::string>& extensions) {
    return Link(catalogue.Store, "INSERT INTO tblFileExtensionJunction(FileTypeID,ExtensionID) VALUES(?1,?2);", typeID,
                extensions, [&](const std::string& extension) { return GetExtensionID(catalogue, extension); });
}

std::string LinkKeywords(Catalogue& catalogue, int fileID, const std::vector<std::string>& keywords) {
    return Link(catalogue.Store, "INSERT INTO tblFileKeywordJunction(FileID,KeywordID) VALUES(?1,?2);", fileID, keywords,
                [&](const std::string& keyword) { return GetKeywordID(catalogue, keyword); });
}

// A negative reference is written as NULL: the builder writes an empty value so.
Cell ReferenceOrNull(int id) { return id < 0 ? Cell("") : Cell(id); }

void AddRecordFields(clsSQLStatement& sql, const FileRecord& record) {
    sql.AddField("FileName", record.FileName, true);
    sql.AddField("Title", record.Title, true);
    sql.AddField("Type", ReferenceOrNull(record.TypeID));
    sql.AddField("Category", ReferenceOrNull(record.CategoryID));
    sql.AddField("CRC", record.CRC, true);
    sql.AddField("Size", record.Size);
    sql.AddField("Length", record.Length);
    sql.AddField("FourCC", record.FourCC, true);
    sql.AddField("Rating", record.Rating);
}

// One fixed text, compiled once however many records a load inserts.
const std::string kInsertFile =
    "INSERT INTO tblFile(FileID,FileName,Title,Type,Category,CRC,Size,Length,FourCC,Rating) "
    "VALUES(NULL,?1,?2,?3,?4,?5,?6,?7,?8,?9);";

// The values AddRecordFields would write, as parameters: an empty text is NULL there too.
std::vector<Cell> RecordValues(const FileRecord& record) {
    const auto text = [](const std::string& value) { return value.empty() ? Cell() : Cell(value); };
    const auto reference = [](int id) { return id < 0 ? Cell() : Cell(id); };
    return {text(record.FileName), text(record.Title), reference(record.TypeID), reference(record.CategoryID),
            text(record.CRC),      Cell(record.Size),  Cell(record.Length),      text(record.FourCC),
            Cell(record.Rating)};
}

// The record's drive, from the path it has now; nothing to do where the own tables are not ours to write.
std::string LinkDrive(Catalogue& catalogue, int fileID, const std::string& fileName) {
    if (!catalogue.OwnTables.Usable()) return {};
    struct stat info {};
    const bool there = stat(fileName.c_str(), &info) == 0;
    return LinkRecords(catalogue.Store, catalogue.Drives, {{fileID, fileName, there}}).Error;
}

std::string DeleteOwnRows(clsSQLite& store, int fileID) {
    for (const std::string_view table : kPerFileTables) {
        if (std::string error = store.Execute("DELETE FROM " + std::string(table) + " WHERE FileID=?1;", {fileID}); !error.empty())
            return error;
    }
    return {};
}

std::string NewFileType(Catalogue& catalogue, NewKey& saved, const std::string& description,
                        const std::string& externalApp, const std::vector<std::string>& extensions) {
    clsSQLite& store = catalogue.Store;
    const std::string insert = "INSERT INTO tblFileType(FileTypeID,FileType) VALUES(NULL," + QuoteSQLText(description) + ");";
    if (std::string error = store.Execute(insert); !error.empty()) return error;
    saved.ID = static_cast<int>(store.LastRowID());
    if (!externalApp.empty()) {
        const std::string app = "UPDATE tblFileType SET ExternalApp=" + QuoteSQLText(externalApp) +
                                " WHERE FileTypeID=" + std::to_string(saved.ID) + ";";
        if (std::string error = store.Execute(app); !error.empty()) return error;
    }
    return LinkExtensions(catalogue, saved.ID, extensions);
}

std::string ChangeFileType(Catalogue& catalogue, int id, const std::string& description,
                           const std::string& externalApp, const std::vector<std::string>& extensions) {
    const std::string where = " WHERE FileTypeID=" + std::to_string(id) + ";";
    const std::string app = externalApp.empty() ? "NULL" : QuoteSQLText(externalApp);
    for (const std::string& sql : {"UPDATE tblFileType SET FileType=" + QuoteSQLText(description) + where,
                                   "UPDATE tblFileType SET ExternalApp=" + app + where,
                                   "DELETE FROM tblFileExtensionJunction" + where}) {
        if (std::string error = catalogue.Store.Execute(sql); !error.empty()) return error;
    }
    return LinkExtensions(catalogue, id, extensions);
}

}  // namespace

Outcome AddCategory(Catalogue& catalogue, const std::string& name) {
    if (catalogue.Categories.GotoCategoryName(name)) return {};
    const std::string error = InOneTransaction(catalogue.Store, [&] {
        return catalogue.Store.Execute("INSERT INTO tblCategory(CategoryID,Category) VALUES(NULL," + QuoteSQLText(name) + ");");
    });
    if (!error.empty()) return {false, error};
    return {true, catalogue.Categories.LoadFromDatabase(catalogue.Store)};
}

Outcome DeleteCategory(Catalogue& catalogue, const std::string& name) {
    if (!catalogue.Categories.GotoCategoryName(name)) return {};
    const std::string id = std::to_string(catalogue.Categories.CategoryID());
    const std::string error = InOneTransaction(catalogue.Store, [&] {
        std::string failure = catalogue.Store.Execute("UPDATE tblFile SET Category=NULL WHERE Category=" + id);
        if (failure.empty())
            failure = catalogue.Store.Execute("DELETE FROM tblCategory WHERE Category=" + QuoteSQLText(name) + ";");
        return failure;
    });
    if (!error.empty()) return {false, error};
    return {true, catalogue.Categories.LoadFromDatabase(catalogue.Store)};
}

NewKey SaveFileType(Catalogue& catalogue, int id, const std::string& description, const std::string& externalApp,
                    const std::vector<std::string>& extensions) {
    NewKey saved;
    if (id >= 0) {
        if (!catalogue.FileTypes.GotoFileTypeID(id)) return {0, "No file type with ID " + std::to_string(id)};
        saved.ID = catalogue.FileTypes.FileTypeID();
    }
    saved.Error = InOneTransaction(catalogue.Store, [&] {
        return id < 0 ? NewFileType(catalogue, saved, description, externalApp, extensions)
                      : ChangeFileType(catalogue, saved.ID, description, externalApp, extensions);
    });
    return saved;
}

std::string DeleteFileType(Catalogue& catalogue, int id) {
    return InOneTransaction(catalogue.Store, [&] {
        for (const char* sql : {"DELETE FROM tblFileExtensionJunction WHERE FileTypeID=?1", "DELETE FROM tblFileType WHERE FileTypeID=?1",
                                "UPDATE tblFile SET Type=NULL WHERE Type=?1"}) {
            if (std::string error = catalogue.Store.Execute(sql, {id}); !error.empty()) return error;
        }
        return std::string();
    });
}

int FilesOfType(const Catalogue& catalogue, int typeID) {
    const auto& records = catalogue.Files.Records();
    return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const FileRecord& r) { return r.TypeID == typeID; }));
}

int FilesInCategory(const Catalogue& catalogue, int categoryID) {
    const auto& records = catalogue.Files.Records();
    return static_cast<int>(
        std::count_if(records.begin(), records.end(), [&](const FileRecord& r) { return r.CategoryID == categoryID; }));
}

NewKey GetExtensionID(Catalogue& catalogue, const std::string& extension) {
    return FindOrInsert(catalogue.Store, "tblFileExtension", "ExtensionID", "Extension", extension);
}

NewKey GetKeywordID(Catalogue& catalogue, const std::string& keyword) {
    return FindOrInsert(catalogue.Store, "tblKeyword", "KeywordID", "Keyword", keyword);
}

NewKey InsertFile(Catalogue& catalogue, const FileRecord& record) {
    NewKey inserted;
    inserted.Error = InOneTransaction(catalogue.Store, [&] {
        if (std::string error = catalogue.Store.Execute(kInsertFile, RecordValues(record)); !error.empty()) return error;
        inserted.ID = static_cast<int>(catalogue.Store.LastRowID());  // before a keyword insert changes it
        if (std::string error = LinkKeywords(catalogue, inserted.ID, record.Keywords); !error.empty()) return error;
        return LinkDrive(catalogue, inserted.ID, record.FileName);
    });
    if (!inserted.Error.empty()) inserted.ID = 0;
    return inserted;
}

std::string UpdateFile(Catalogue& catalogue, const FileRecord& record) {
    const std::string id = std::to_string(record.FileID);
    return InOneTransaction(catalogue.Store, [&] {
        clsSQLStatement sql;
        sql.StartUpdateStatement("tblFile");
        AddRecordFields(sql, record);
        sql.AddWhereClause("FileID=" + id);
        std::string error = catalogue.Store.Execute(sql.GetSQLStatement());
        if (error.empty()) error = catalogue.Store.Execute("DELETE FROM tblFileKeywordJunction WHERE FileID=" + id);
        if (error.empty()) error = LinkKeywords(catalogue, record.FileID, record.Keywords);
        return error.empty() ? LinkDrive(catalogue, record.FileID, record.FileName) : error;
    });
}

std::string DeleteFile(Catalogue& catalogue, int fileID) {
    if (fileID <= 0) return {};
    return InOneTransaction(catalogue.Store, [&] {
        std::string error = catalogue.Store.Execute("DELETE FROM tblFile WHERE FileID=?1;", {fileID});
        if (error.empty()) error = catalogue.Store.Execute("DELETE FROM tblFileKeywordJunction WHERE FileID=?1", {fileID});
        return error.empty() && catalogue.OwnTables.Usable() ? DeleteOwnRows(catalogue.Store, fileID) : error;
    });
}
