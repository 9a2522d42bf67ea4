// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/modSchema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

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

TEST(OpenCatalogue, GivesOlderCataloguesTheirIndexes) {
    TempFolder folder;
    std::string tablesOnly;
    for (const CatalogueTable& table : kCatalogueTables) tablesOnly += table.Create;
    const std::string older = folder.Path("older.rvd");
    clsSQLite store;
    ASSERT_EQ(store.OpenDB(older), "");
    ASSERT_EQ(store.Execute(tablesOnly), "");
    store.CloseDB();
    ASSERT_EQ(OpenCatalogue(store, older), "");
    ASSERT_EQ(store.Execute("SELECT count(*) FROM sqlite_master WHERE type='index'"), "");
    EXPECT_EQ(store.Field(0).AsInt(), static_cast<std::int64_t>(kCatalogueIndexes.size()));
}
