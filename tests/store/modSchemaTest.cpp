// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/modSchema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

namespace {

std::string MakeDatabase(const TempFolder& folder, const std::string& name, const std::string& sql) {
    clsSQLite store;
    EXPECT_EQ(store.OpenDB(folder.Path(name)), "");
    EXPECT_EQ(store.Execute(sql), "");
    return folder.Path(name);
}

}  // namespace

TEST(CreateNewDatabase, MakesExactlyTheSevenEmptyTablesAndOpensThem) {
    TempFolder folder;
    clsSQLite store;
    const std::string path = folder.Path("new catalogue.rvd");
    ASSERT_EQ(CreateNewDatabase(store, path), "");
    EXPECT_TRUE(store.DBOpen());
    EXPECT_EQ(store.FileName(), path);

    ASSERT_EQ(store.Execute("SELECT type, name, sql FROM sqlite_master WHERE type='table' ORDER BY rowid;"), "");
    ASSERT_EQ(store.RecordCount(), 7);
    for (const CatalogueTable& table : kCatalogueTables) {
        EXPECT_EQ(store.Field(0).AsText(), "table");
        EXPECT_EQ(store.Field(1).AsText(), table.Name);
        EXPECT_EQ(store.Field(2).AsText() + ";", table.Create);
        store.MoveNext();
    }
    ASSERT_EQ(store.Execute("SELECT count(*) FROM tblFile, tblCategory, tblFileType, tblKeyword"), "");
    EXPECT_EQ(store.Field(0).AsInt(), 0);
}

TEST(CreateNewDatabase, RefusesAnExistingFileAndKeepsTheOpenCatalogue) {
    TempFolder folder;
    clsSQLite store;
    const std::string open = folder.Path("open.rvd");
    ASSERT_EQ(CreateNewDatabase(store, open), "");
    ASSERT_EQ(store.Execute("INSERT INTO tblCategory VALUES(NULL, 'Films')"), "");

    const std::string taken = folder.Write("taken.rvd", "precious");
    EXPECT_EQ(CreateNewDatabase(store, taken), "File already exists");
    EXPECT_EQ(folder.Read("taken.rvd"), "precious");
    EXPECT_EQ(CreateNewDatabase(store, open), "File already exists");

    EXPECT_NE(CreateNewDatabase(store, folder.Path("missing folder/x.rvd")), "");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing folder")));

    EXPECT_EQ(store.FileName(), open);
    ASSERT_EQ(store.Execute("SELECT Category FROM tblCategory"), "");
    EXPECT_EQ(store.Field(0).AsText(), "Films");
}

TEST(IsCatalogue, TellsWhyAFileIsNotACatalogue) {
    TempFolder folder;
    clsSQLite store;
    ASSERT_EQ(CreateNewDatabase(store, folder.Path("good.rvd")), "");
    store.CloseDB();
    EXPECT_EQ(IsCatalogue(folder.Path("good.rvd")).Reason, "");

    EXPECT_EQ(IsCatalogue(folder.Path("missing.rvd")).Reason, "No such file");
    EXPECT_EQ(IsCatalogue(folder.Write("notes.txt", "hello\n")).Reason, "Not an SQLite database");
    EXPECT_EQ(IsCatalogue(folder.Write("empty.rvd", "")).Reason, "The file is empty");
    EXPECT_EQ(IsCatalogue(folder.Root()).Reason, "This is a folder, not a catalogue file");
    EXPECT_EQ(IsCatalogue(folder.Write("old.rvd", "** This file contains an SQLite 2.1 database **")).Reason,
              "This catalogue was written by an SQLite 2 program; convert it with: "
              "sqlite OLD.rvd .dump | sqlite3 NEW.rvd");
    EXPECT_EQ(IsCatalogue(MakeDatabase(folder, "other.db", "CREATE TABLE t(x)")).Reason,
              "The catalogue lacks the table tblFile");

    std::string allButKeywords;
    for (const CatalogueTable& table : kCatalogueTables) {
        if (table.Name != "tblKeyword") allButKeywords += table.Create;
    }
    EXPECT_EQ(IsCatalogue(MakeDatabase(folder, "partial.rvd", allButKeywords)).Reason,
              "The catalogue lacks the table tblKeyword");
}

TEST(OpenCatalogue, ChecksTheFileAndGivesOlderCataloguesTheirIndexes) {
    TempFolder folder;
    std::string tablesOnly;
    for (const CatalogueTable& table : kCatalogueTables) tablesOnly += table.Create;
    const std::string older = MakeDatabase(folder, "older.rvd", tablesOnly);
    clsSQLite store;
    ASSERT_EQ(OpenCatalogue(store, older), "");
    ASSERT_EQ(store.Execute("SELECT count(*) FROM sqlite_master WHERE type='index'"), "");
    EXPECT_EQ(store.Field(0).AsInt(), static_cast<std::int64_t>(kCatalogueIndexes.size()));

    EXPECT_EQ(OpenCatalogue(store, folder.Write("notes.txt", "words")), "Not an SQLite database");
    EXPECT_EQ(OpenCatalogue(store, folder.Path("missing.rvd")), "No such file");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing.rvd")));
    EXPECT_EQ(store.FileName(), older);
}
