// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/OwnTables.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "store/modSchema.h"

namespace {

class OwnTablesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CreateNewDatabase(store, folder.Path("c.rvd")), ""); }
    std::string Ask(const std::string& sql) {
        EXPECT_EQ(store.Execute(sql), "") << sql;
        return store.Field(0).AsText();
    }
    std::string Tables() { return Ask("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE type='table' ORDER BY name)"); }

    TempFolder folder;
    clsSQLite store;
};

}  // namespace

TEST_F(OwnTablesTest, AreMadeOnceBesideTheSevenAndKeptAcrossSteps) {
    const std::string seven = Tables();
    EXPECT_EQ(ReadOwnTables(store).State, OwnTablesState::Absent);
    const OwnTablesStatus made = MakeOwnTables(store);
    EXPECT_TRUE(made.Usable());
    EXPECT_EQ(made.Note, "");
    EXPECT_EQ(Ask("SELECT Version FROM rvSchema"), std::to_string(kOwnTablesVersion));
    ASSERT_EQ(store.Execute("INSERT INTO rvDrive(Identity, Name) VALUES('uuid:1', 'FILMS')"), "");

    // A second step, or a second program's, finds them made and keeps what they hold.
    EXPECT_TRUE(MakeOwnTables(store).Usable());
    EXPECT_EQ(Ask("SELECT count(*) FROM rvDrive"), "1");
    EXPECT_EQ(Ask("SELECT count(*) FROM rvSchema"), "1");
    EXPECT_EQ(Tables(), "rvDrive rvFileDrive rvFileHash rvFileMedia rvFileStream rvFrame rvSchema " + seven);
}

// A catalogue written by the first version (drives and hashes, no media facts nor frames) steps up to the
// second in place: the facts' and frames' tables are added and nothing the first version kept is lost.
TEST_F(OwnTablesTest, AFirstVersionCatalogueStepsUpKeepingItsRows) {
    ASSERT_TRUE(MakeOwnTables(store).Usable());
    for (const char* sql : {"DROP TABLE rvFileStream", "DROP TABLE rvFileMedia", "DROP TABLE rvFrame", "UPDATE rvSchema SET Version = 1",
                            "INSERT INTO rvDrive(Identity, Name) VALUES('uuid:1', 'FILMS')",
                            "INSERT INTO rvFileDrive VALUES(1, 1, '/a.avi', 7)",
                            "INSERT INTO rvFileHash(FileID, PathKey, HashHigh, HashLow, Size, MTimeNs, Device, Inode, HashedAt) "
                            "VALUES(1, 7, 1, 2, 3, 4, 5, 6, 8)"})
        ASSERT_EQ(store.Execute(sql), "") << sql;
    EXPECT_EQ(ReadOwnTables(store).State, OwnTablesState::Older);
    const OwnTablesStatus stepped = MakeOwnTables(store);
    EXPECT_TRUE(stepped.Usable());
    EXPECT_EQ(stepped.Note, "");
    EXPECT_EQ(Ask("SELECT Version FROM rvSchema"), "2");
    EXPECT_EQ(Ask("SELECT Name FROM rvDrive"), "FILMS");
    EXPECT_EQ(Ask("SELECT Path FROM rvFileDrive"), "/a.avi");
    EXPECT_EQ(Ask("SELECT HashLow FROM rvFileHash"), "2");
    EXPECT_EQ(Ask("SELECT count(*) FROM rvFileMedia"), "0");
    EXPECT_EQ(Ask("SELECT count(*) FROM rvFrame"), "0");
    EXPECT_EQ(Ask("SELECT count(*) FROM sqlite_master WHERE name = 'rvFileStreamLanguage'"), "1");
}

// Another program writing while they are read: nothing is known of them, and nothing is made anew.
TEST_F(OwnTablesTest, TablesThatCannotBeReadJustNowAreNotTakenForDamaged) {
    ASSERT_TRUE(MakeOwnTables(store).Usable());
    ASSERT_EQ(store.Execute("INSERT INTO rvDrive(Identity, Name) VALUES('uuid:1', 'FILMS')"), "");
    clsSQLite writer;
    ASSERT_EQ(writer.OpenDB(store.FileName()), "");
    ASSERT_EQ(writer.Execute("BEGIN EXCLUSIVE"), "");
    store.SetBusyTimeout(0);
    EXPECT_NE(ReadOwnTables(store).State, OwnTablesState::Damaged);
    EXPECT_FALSE(MakeOwnTables(store).Usable());
    ASSERT_EQ(writer.Execute("COMMIT"), "");
    EXPECT_EQ(Ask("SELECT Name FROM rvDrive"), "FILMS");
}

TEST_F(OwnTablesTest, DamagedOnesAreMadeAnewWithANoteAndNewerOnesAreLeftAlone) {
    ASSERT_TRUE(MakeOwnTables(store).Usable());
    ASSERT_EQ(store.Execute("INSERT INTO tblCategory VALUES(NULL, 'Films')"), "");
    ASSERT_EQ(store.Execute("DROP TABLE rvFileDrive"), "");
    EXPECT_EQ(ReadOwnTables(store).State, OwnTablesState::Damaged);
    const OwnTablesStatus rebuilt = MakeOwnTables(store);
    EXPECT_TRUE(rebuilt.Usable());
    EXPECT_NE(rebuilt.Note.find("damaged and have been made anew"), std::string::npos);
    EXPECT_EQ(Ask("SELECT count(*) FROM rvFileDrive"), "0");
    EXPECT_EQ(Ask("SELECT Category FROM tblCategory"), "Films");

    ASSERT_EQ(store.Execute("ALTER TABLE rvDrive ADD COLUMN Colour TEXT"), "");  // a newer program's own column
    ASSERT_EQ(store.Execute("UPDATE rvSchema SET Version = 99"), "");
    ASSERT_EQ(store.Execute("INSERT INTO rvDrive(Identity, Name, Colour) VALUES('uuid:1', 'FILMS', 'red')"), "");
    const OwnTablesStatus newer = MakeOwnTables(store);
    EXPECT_EQ(newer.State, OwnTablesState::Newer);
    EXPECT_FALSE(newer.Usable());
    EXPECT_NE(newer.Note.find("newer Reelvault"), std::string::npos);
    EXPECT_EQ(Ask("SELECT Version FROM rvSchema"), "99");
    EXPECT_EQ(Ask("SELECT Colour FROM rvDrive"), "red");
}

TEST_F(OwnTablesTest, OrphanRowsGoAndPathKeysAreStable) {
    ASSERT_TRUE(MakeOwnTables(store).Usable());
    ASSERT_EQ(store.Execute("INSERT INTO tblFile(FileID, FileName) VALUES(1, '/a.avi')"), "");
    for (const char* id : {"1", "2"})
        ASSERT_EQ(store.Execute(std::string("INSERT INTO rvFileDrive VALUES(") + id + ", 1, '/a.avi', 0)"), "");
    ASSERT_EQ(DeleteOrphanRows(store), "");
    EXPECT_EQ(Ask("SELECT group_concat(FileID) FROM rvFileDrive"), "1");

    // Stored in catalogues: a key must never change with the build or the machine.
    EXPECT_EQ(PathKey(""), static_cast<std::int64_t>(0x2D06800538D394C2ull));
    EXPECT_NE(PathKey("/media/a.avi"), PathKey("/media/b.avi"));
}
