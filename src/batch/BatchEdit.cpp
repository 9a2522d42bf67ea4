// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchEdit.h"

#include <algorithm>
#include <unordered_set>

namespace {

Cell ReferenceOrNull(int id) { return id < 0 ? Cell() : Cell(id); }

// "UPDATE tblFile SET Category=?2, ... WHERE FileID=?1" with the fields the change sets, and their
// values after the ID; "" when it sets none.
std::string FieldUpdate(const BatchChange& change, std::vector<Cell>& values) {
    std::string set;
    const auto add = [&](const char* column, Cell value) {
        set += (set.empty() ? "" : ",") + std::string(column) + "=?" + std::to_string(values.size() + 2);
        values.push_back(std::move(value));
    };
    if (change.CategoryID) add("Category", ReferenceOrNull(*change.CategoryID));
    if (change.TypeID) add("Type", ReferenceOrNull(*change.TypeID));
    if (change.Rating) add("Rating", Cell(*change.Rating));
    return set.empty() ? std::string() : "UPDATE tblFile SET " + set + " WHERE FileID=?1;";
}

// The ID of each keyword to add, its row made when the catalogue has none yet.
std::string KeywordIDs(clsSQLite& store, const std::vector<std::string>& keywords, std::vector<int>& ids) {
    for (const std::string& keyword : keywords) {
        if (keyword.empty()) continue;
        if (std::string error = store.Execute("SELECT KeywordID FROM tblKeyword WHERE Keyword=?1;", {keyword}); !error.empty())
            return error;
        if (store.RecordCount() > 0) {
            ids.push_back(static_cast<int>(store.Field(0).AsInt()));
            continue;
        }
        if (std::string error = store.Execute("INSERT INTO tblKeyword(KeywordID,Keyword) VALUES(NULL,?1);", {keyword});
            !error.empty())
            return error;
        ids.push_back(static_cast<int>(store.LastRowID()));
    }
    return {};
}

// Writes the change to one record that exists.
std::string WriteOne(clsSQLite& store, int id, const BatchChange& change, const std::string& update,
                     const std::vector<Cell>& values, const std::vector<int>& addIDs) {
    if (!update.empty()) {
        std::vector<Cell> params{Cell(id)};
        params.insert(params.end(), values.begin(), values.end());
        if (std::string error = store.Execute(update, params); !error.empty()) return error;
    }
    for (const std::string& keyword : change.RemoveKeywords) {
        std::string error = store.Execute("DELETE FROM tblFileKeywordJunction WHERE FileID=?1 AND KeywordID IN "
                                          "(SELECT KeywordID FROM tblKeyword WHERE Keyword=?2);",
                                          {id, keyword});
        if (!error.empty()) return error;
    }
    for (const int keywordID : addIDs) {
        std::string error = store.Execute("INSERT INTO tblFileKeywordJunction(FileID,KeywordID) SELECT ?1,?2 WHERE NOT "
                                          "EXISTS(SELECT 1 FROM tblFileKeywordJunction WHERE FileID=?1 AND KeywordID=?2);",
                                          {id, keywordID});
        if (!error.empty()) return error;
    }
    return {};
}

std::string WriteAll(clsSQLite& store, const std::vector<int>& ids, const BatchChange& change, BatchOutcome& outcome) {
    std::vector<int> addIDs;
    if (std::string error = KeywordIDs(store, change.AddKeywords, addIDs); !error.empty()) return error;
    std::vector<Cell> values;
    const std::string update = FieldUpdate(change, values);
    std::unordered_set<int> seen;
    for (const int id : ids) {
        if (!seen.insert(id).second) continue;
        if (std::string error = store.Execute("SELECT 1 FROM tblFile WHERE FileID=?1;", {id}); !error.empty()) return error;
        if (store.RecordCount() == 0) {
            outcome.Missing.push_back(id);
            continue;
        }
        if (std::string error = WriteOne(store, id, change, update, values, addIDs); !error.empty()) return error;
        outcome.Saved.push_back(id);
    }
    return {};
}

}  // namespace

BatchOutcome WriteBatch(clsSQLite& store, const std::vector<int>& ids, const BatchChange& change) {
    BatchOutcome outcome;
    clsSQLite::Transaction unit(store);
    outcome.Error = unit.BeginError();
    if (outcome.Error.empty()) outcome.Error = WriteAll(store, ids, change, outcome);
    if (outcome.Error.empty()) outcome.Error = unit.Commit();
    if (!outcome.Error.empty()) outcome.Saved.clear();
    return outcome;
}

void ApplyBatchToSet(clsFile& files, const std::vector<int>& saved, const BatchChange& change) {
    // As a load reads a record without a type or category.
    const auto loaded = [](int id) { return id < 0 ? 0 : id; };
    for (const int id : saved) {
        if (!files.GotoFileID(id)) continue;
        FileRecord record = *files.Current();
        if (change.CategoryID) record.CategoryID = loaded(*change.CategoryID);
        if (change.TypeID) record.TypeID = loaded(*change.TypeID);
        if (change.Rating) record.Rating = *change.Rating;
        std::vector<std::string>& keywords = record.Keywords;
        for (const std::string& keyword : change.RemoveKeywords) std::erase(keywords, keyword);
        for (const std::string& keyword : change.AddKeywords) {
            if (!keyword.empty() && std::find(keywords.begin(), keywords.end(), keyword) == keywords.end())
                keywords.push_back(keyword);
        }
        std::sort(keywords.begin(), keywords.end());  // byte order, as the catalogue's ORDER BY gives
        files.Modify(record);
    }
}

std::string MissingSentence(const std::vector<int>& missing) {
    if (missing.empty()) return {};
    std::string ids;
    for (const int id : missing) ids += (ids.empty() ? "" : ", ") + std::to_string(id);
    return missing.size() == 1 ? "FileID " + ids + " was not changed: it is no longer in the catalogue."
                               : "FileIDs " + ids + " were not changed: they are no longer in the catalogue.";
}
