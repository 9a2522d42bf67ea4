// SPDX-License-Identifier: GPL-3.0-or-later
// The search statement built from any field texts must stay one read-only SELECT of one column,
// and a file holding exactly the texts searched for must be found: a quote in a text that ended
// the literal early would break either.
#include <sqlite3.h>

#include <cctype>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "store/modSchema.h"
#include "listing/modSearch.h"

namespace {

// A catalogue with one type and one category, so that those fields can add their conditions.
Catalogue& Lookups() {
    static Catalogue* catalogue = [] {
        auto* made = new Catalogue;
        if (!CreateNewDatabase(made->Store, ScratchPath("lookups.rvd")).empty()) std::abort();
        made->Store.Execute("INSERT INTO tblFileType(FileType) VALUES('Film');");
        made->Store.Execute("INSERT INTO tblCategory(Category) VALUES('Drama');");
        if (!made->Reload().empty()) std::abort();
        return made;
    }();
    return *catalogue;
}

// An empty catalogue of our own in memory, where one row can be put for each input.
sqlite3* Tables() {
    static sqlite3* db = [] {
        sqlite3* made = nullptr;
        if (sqlite3_open(":memory:", &made) != SQLITE_OK) std::abort();
        for (const CatalogueTable& table : kCatalogueTables) {
            if (sqlite3_exec(made, std::string(table.Create).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
        }
        return made;
    }();
    return db;
}

// The texts in the order of the fields; an empty type or category is none chosen.
SearchFields FieldsOf(std::vector<std::string> texts) {
    texts.resize(12);
    SearchFields fields{texts[0], texts[1], {}, {}, texts[4], texts[5], texts[6], texts[7], texts[8], texts[9], texts[10], texts[11],
                        {}, {}, {}, {}};
    if (!texts[2].empty()) fields.Type = texts[2];
    if (!texts[3].empty()) fields.Category = texts[3];
    return fields;
}

bool OnlyBlanks(const char* text) {
    while (*text && std::isspace(static_cast<unsigned char>(*text))) ++text;
    return *text == '\0';
}

// Compiles the one statement of sql, or aborts: anything behind it, a syntax error, a write or a
// second column means a field text escaped its quotes.
sqlite3_stmt* CompileOneSelect(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(Tables(), sql.c_str(), -1, &statement, &tail) != SQLITE_OK || !statement) std::abort();
    if (!OnlyBlanks(tail) || !sqlite3_stmt_readonly(statement) || sqlite3_column_count(statement) != 1) std::abort();
    return statement;
}

void PutOnlyFile(const SearchFields& fields) {
    sqlite3_exec(Tables(), "DELETE FROM tblFile;", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(Tables(), "INSERT INTO tblFile(FileName,Title,CRC,FourCC) VALUES(?1,?2,?3,?4);", -1, &insert, nullptr);
    int column = 0;
    for (const std::string* text : {&fields.FileName, &fields.Title, &fields.CRC, &fields.FourCC})
        sqlite3_bind_text(insert, ++column, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    if (sqlite3_step(insert) != SQLITE_DONE) std::abort();
    sqlite3_finalize(insert);
}

// The texts alone must find the file that holds them.
void CheckTextsFound(const SearchFields& all) {
    SearchFields texts;
    texts.FileName = all.FileName;
    texts.Title = all.Title;
    texts.CRC = all.CRC;
    texts.FourCC = all.FourCC;
    PutOnlyFile(texts);
    sqlite3_stmt* statement = CompileOneSelect(BuildSearchStatement(Lookups(), texts));
    if (sqlite3_step(statement) != SQLITE_ROW) std::abort();
    sqlite3_finalize(statement);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SearchFields fields = FieldsOf(SplitAtNul(data, size));
    sqlite3_finalize(CompileOneSelect(BuildSearchStatement(Lookups(), fields)));
    CheckTextsFound(fields);
    return 0;
}
