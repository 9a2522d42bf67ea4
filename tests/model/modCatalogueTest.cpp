// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/modCatalogue.h"

#include <filesystem>

#include "common/FileSizeLimit.h"
#include "model/CatalogueFixture.h"
#include "store/modCheck.h"

namespace {

FileRecord Sample() {
    FileRecord record;
    record.FileName = "/v/it's.avi";
    record.TypeID = 3;
    record.CRC = "CBF43926";
    record.Size = 1024;
    record.Length = 5000;
    record.Keywords = {"O'Neil", "live", "O'Neil"};
    return record;
}

const char* kColumns = "SELECT quote(FileName)||quote(Title)||quote(Type)||quote(Category)||quote(CRC)||quote(Size)||"
                       "quote(Length)||quote(FourCC)||quote(Rating)||quote(IntRFE1)||quote(TextFRE2) FROM tblFile";

}  // namespace

TEST_F(CatalogueTest, InsertWritesEveryColumnAndReusesKeywords) {
    const NewKey inserted = InsertFile(catalogue, Sample());
    ASSERT_EQ(inserted.Error, "");
    EXPECT_EQ(inserted.ID, 1);
    EXPECT_EQ(Ask(kColumns), "'/v/it''s.avi'NULL3NULL'CBF43926'10245000NULL0NULLNULL");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblKeyword"), "2");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileKeywordJunction WHERE FileID=1"), "3");
    EXPECT_EQ(GetKeywordID(catalogue, "O'Neil").ID, 1);
    EXPECT_EQ(GetKeywordID(catalogue, "o'neil").ID, 3);

    FileRecord unset = Sample();
    unset.TypeID = -1;
    unset.CategoryID = 0;
    unset.FourCC = std::string(4, '\0');  // an AVI whose handler is four zero bytes
    unset.Keywords.clear();
    EXPECT_EQ(InsertFile(catalogue, unset).ID, 2);
    EXPECT_EQ(Ask("SELECT quote(Type)||'/'||quote(Category)||'/'||length(CAST(FourCC AS BLOB)) FROM tblFile WHERE FileID=2"),
              "NULL/0/4");
}

TEST_F(CatalogueTest, UpdateAndDeleteRewriteTheLinksOfThatRecordOnly) {
    const int first = InsertFile(catalogue, Sample()).ID;
    const int last = InsertFile(catalogue, Sample()).ID;
    FileRecord changed = Sample();
    changed.FileID = first;
    changed.Title = "Named";
    changed.Keywords.clear();
    ASSERT_EQ(UpdateFile(catalogue, changed), "");
    EXPECT_EQ(Ask("SELECT group_concat(FileID) FROM tblFileKeywordJunction"), "2,2,2");
    EXPECT_EQ(Ask("SELECT Title FROM tblFile WHERE FileID=1"), "Named");

    EXPECT_EQ(DeleteFile(catalogue, 0), "");
    EXPECT_EQ(DeleteFile(catalogue, -1), "");
    ASSERT_EQ(DeleteFile(catalogue, last), "");
    const int reused = InsertFile(catalogue, FileRecord{-1, "/new.avi", "", -1, -1, "", 0, 0, "", 0, {"own"}}).ID;
    EXPECT_EQ(reused, last);  // the engine hands out the freed key again...
    EXPECT_EQ(Ask("SELECT group_concat(Keyword) FROM tblKeyword, tblFileKeywordJunction "
                  "WHERE tblKeyword.KeywordID=tblFileKeywordJunction.KeywordID AND FileID=" + std::to_string(reused)),
              "own");  // ...but not the old record's keywords
}

TEST_F(CatalogueTest, AFailingStatementUndoesTheWholeOperation) {
    const int id = InsertFile(catalogue, Sample()).ID;
    const std::string before = Ask(kColumns) + Ask("SELECT count(*) FROM tblFileKeywordJunction");
    Refuse("INSERT", "tblFileKeywordJunction");
    FileRecord changed = Sample();
    changed.FileID = id;
    changed.Title = "lost";
    changed.Keywords = {"brand new"};
    EXPECT_NE(UpdateFile(catalogue, changed).find("refused"), std::string::npos);
    const NewKey inserted = InsertFile(catalogue, changed);
    EXPECT_NE(inserted.Error, "");
    EXPECT_EQ(inserted.ID, 0);
    EXPECT_EQ(Ask(kColumns) + Ask("SELECT count(*) FROM tblFileKeywordJunction"), before);
    EXPECT_EQ(Ask("SELECT count(*) FROM tblKeyword WHERE Keyword='brand new'"), "0");

    catalogue.Store.CloseDB();
    EXPECT_EQ(GetKeywordID(catalogue, "x").ID, 0);
    EXPECT_EQ(InsertFile(catalogue, Sample()).Error, "SQLite database not open");
}

TEST_F(CatalogueTest, WritesKeepTheColumnsAndTablesOfANewerProgram) {
    Ask("ALTER TABLE tblFile ADD COLUMN Mood TEXT DEFAULT 'calm'");
    Ask("CREATE TABLE tblPlaylist(ID INTEGER PRIMARY KEY, Name TEXT)");
    Ask("INSERT INTO tblPlaylist VALUES(1, 'Sunday')");
    FileRecord record = Sample();
    record.TypeID = -1;  // a type the catalogue has not would be a problem of its own
    record.FileID = InsertFile(catalogue, record).ID;
    record.Title = "changed";
    ASSERT_EQ(UpdateFile(catalogue, record), "");
    catalogue.Store.CloseDB();
    EXPECT_EQ(CheckCatalogue(folder.Path("test.rvd")), std::vector<std::string>{});
    ASSERT_EQ(OpenCatalogue(catalogue.Store, folder.Path("test.rvd")), "");
    ASSERT_EQ(catalogue.Reload(), "");
    EXPECT_EQ(Ask("SELECT Mood || Title || (SELECT Name FROM tblPlaylist) FROM tblFile"), "calmchangedSunday");
}

TEST_F(CatalogueTest, AFullDiskFailsAWriteWholeAndKeepsEveryEarlierOne) {
    FileRecord record = Sample();
    record.Title = std::string(1000, 't');
    ASSERT_EQ(InsertFile(catalogue, record).Error, "");
    int kept = 1;
    std::string insertError;
    std::string updateError;
    {
        const FileSizeLimit disk(std::filesystem::file_size(folder.Path("test.rvd")) + 16384);
        for (int tries = 0; tries < 200 && insertError.empty(); ++tries) {
            insertError = InsertFile(catalogue, record).Error;
            if (insertError.empty()) ++kept;
        }
        FileRecord grown = record;
        grown.FileID = 1;
        grown.Title = std::string(100000, 'g');
        updateError = UpdateFile(catalogue, grown);
    }
    EXPECT_EQ(insertError, kCatalogueFull);
    EXPECT_EQ(updateError, kCatalogueFull);
    Catalogue reopened;
    ASSERT_EQ(OpenCatalogue(reopened.Store, folder.Path("test.rvd")), "");
    ASSERT_EQ(reopened.Reload(), "");
    EXPECT_EQ(reopened.Files.Count(), kept);
    ASSERT_TRUE(reopened.Files.GotoFileID(1));
    EXPECT_EQ(reopened.Files.Title(), record.Title);
    EXPECT_EQ(reopened.Files.NumKeyword(), 3);
}
