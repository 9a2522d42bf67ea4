// SPDX-License-Identifier: GPL-3.0-or-later
// The drives of a catalogue's records, kept in step as records come and go, also behind the back of
// a program that knows only the seven tables.
#include <gtest/gtest.h>

#include "common/LoopDrive.h"
#include "common/ReadOnlyFile.h"
#include "common/TempFolder.h"
#include "model/Catalogue.h"
#include "model/modCatalogue.h"
#include "drives/DriveLinks.h"
#include "store/modSchema.h"

namespace {

class CatalogueDrives : public ::testing::Test {
protected:
    void SetUp() override {
        if (!drive.Mount(place)) GTEST_SKIP() << drive.Skip();
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, folder.Path("c.rvd")), "");
        ASSERT_EQ(catalogue.Reload(), "");
    }
    std::string Make(const std::string& name) { return folder.Write("FILMS/" + name, name); }
    int Add(const std::string& name) {
        FileRecord record;
        record.FileName = Make(name);
        return InsertFile(catalogue, record).ID;
    }
    // What another program does: plain SQL on the seven tables.
    void Foreign(const std::string& sql) { ASSERT_EQ(catalogue.Store.Execute(sql), "") << sql; }
    std::string Links() {
        std::string links;
        catalogue.Store.Query("SELECT FileID, DriveID, Path FROM rvFileDrive ORDER BY FileID", [&](const clsSQLite::Row& row) {
            links += std::to_string(row.Int(0)) + ":" + std::to_string(row.Int(1)) + ":" + std::string(row.Text(2)) + " ";
        });
        return links;
    }
    int DriveOf(const std::string& name) {
        EXPECT_TRUE(catalogue.Files.GotoFileName(place + "/" + name)) << name;
        return catalogue.Files.Current() ? catalogue.Files.Current()->DriveID : -2;
    }

    TempFolder folder;
    std::string place = folder.Path("FILMS");
    LoopDrive drive{folder.Path("films.img"), "5e1c0a2b-0011-4a2b-9c3d-5e6f7a8b9c0d", "FILMS"};
    Catalogue catalogue;
};

}  // namespace

TEST_F(CatalogueDrives, RecordsAddedMovedOrDeletedByAnotherProgramAreReconciledOnLoad) {
    ASSERT_EQ(Add("a.avi"), 1);
    ASSERT_EQ(Add("b.avi"), 2);
    ASSERT_EQ(Add("d.avi"), 3);
    ASSERT_EQ(catalogue.Reload(), "");
    const Drive* films = catalogue.Drives.ByName("FILMS");
    ASSERT_NE(films, nullptr);
    const int id = films->DriveID;
    EXPECT_EQ(Links(), "1:" + std::to_string(id) + ":/a.avi 2:" + std::to_string(id) + ":/b.avi 3:" + std::to_string(id) + ":/d.avi ");

    std::filesystem::rename(place + "/a.avi", place + "/a2.avi");
    Foreign("UPDATE tblFile SET FileName='" + place + "/a2.avi' WHERE FileID=1");
    Foreign("DELETE FROM tblFile WHERE FileID IN (2, 3)");
    Make("c.avi");
    Foreign("INSERT INTO tblFile(FileID, FileName) VALUES(NULL, '" + place + "/c.avi')");  // SQLite gives it 2 again
    ASSERT_EQ(catalogue.Reload(), "");
    EXPECT_EQ(Links(), "1:" + std::to_string(id) + ":/a2.avi 2:" + std::to_string(id) + ":/c.avi ");
    EXPECT_EQ(DriveOf("a2.avi"), id);
    EXPECT_EQ(DriveOf("c.avi"), id);

    // Away, the drive keeps its records; one another program adds at its place meanwhile is its too,
    // and a record whose file is not there is never given the disk beneath the empty folder.
    drive.Unmount();
    Foreign("INSERT INTO tblFile(FileID, FileName) VALUES(NULL, '" + place + "/e.avi')");
    Foreign("INSERT INTO tblFile(FileID, FileName) VALUES(NULL, '" + folder.Path("gone/f.avi") + "')");
    ASSERT_EQ(catalogue.Reload(), "");
    EXPECT_TRUE(catalogue.Drives.Unplugged(id));
    EXPECT_EQ(DriveOf("a2.avi"), id);
    EXPECT_EQ(DriveOf("e.avi"), id);
    ASSERT_TRUE(catalogue.Files.GotoFileName(folder.Path("gone/f.avi")));
    EXPECT_EQ(catalogue.Files.Current()->DriveID, -1);
    EXPECT_EQ(catalogue.Drives.All().size(), 1u);
}

// A catalogue opened for reading only gets no tables and no links, and still loads.
TEST_F(CatalogueDrives, AReadOnlyCatalogueIsNotWritten) {
    Catalogue plain;
    const std::string path = folder.Path("medium/plain.rvd");
    std::filesystem::create_directories(folder.Path("medium"));
    std::string seven;
    for (const CatalogueTable& table : kCatalogueTables) seven += table.Create;
    ASSERT_EQ(plain.Store.OpenDB(path), "");
    ASSERT_EQ(plain.Store.Execute(seven), "");
    ASSERT_EQ(plain.Store.Execute("INSERT INTO tblFile(FileName) VALUES('" + Make("a.avi") + "')"), "");
    plain.Store.CloseDB();
    const ReadOnlyFile medium(path);
    if (!medium.Usable()) GTEST_SKIP() << "cannot drop root's rights here";
    ASSERT_EQ(plain.Store.OpenDB(path), "");
    ASSERT_TRUE(plain.Store.ReadOnly());
    ASSERT_EQ(plain.Reload(), "");
    EXPECT_EQ(plain.OwnTables.State, OwnTablesState::Absent);
    EXPECT_EQ(plain.Files.Count(), 1);
    EXPECT_TRUE(plain.Drives.All().empty());
}
