// SPDX-License-Identifier: GPL-3.0-or-later
// The tools on a real drive that is unplugged, mounted elsewhere and plugged in again.
#include "common/LoopDrive.h"
#include "model/modCatalogue.h"
#include "tools/DetectMovedFiles.h"
#include "tools/ForgetDrive.h"
#include "tools/LoadDirectory.h"
#include "tools/RebindDrive.h"
#include "tools/RemoveMissingFiles.h"
#include "tools/ToolFixture.h"

namespace {

class DriveTools : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        if (!drive.Mount(place)) GTEST_SKIP() << drive.Skip();
        for (const char* name : {"a.avi", "b.avi", "sub/c.avi"}) Make(name);
        Reload();
        ASSERT_EQ(LoadDirectory(catalogue, {place, "*.avi", true, true}, host).Changed, 3);
        Reload();
    }
    std::string Make(const std::string& relative) {
        std::filesystem::create_directories(std::filesystem::path(place + "/" + relative).parent_path());
        return folder.Write("FILMS/" + relative, relative);
    }
    std::vector<std::string> Under(const std::string& where) {
        return {where + "/a.avi", where + "/b.avi", where + "/sub/c.avi"};
    }
    const Drive& Films() { return *catalogue.Drives.ByName("FILMS"); }

    std::string place = folder.Path("FILMS");
    std::string elsewhere = folder.Path("media/FILMS 1");
    LoopDrive drive{folder.Path("films.img"), "5e1c0a2b-0021-4a2b-9c3d-5e6f7a8b9c0d", "FILMS"};
};

}  // namespace

TEST_F(DriveTools, RemoveMissingNeverTakesTheEmptyFolderOfAnAwayDriveForIt) {
    drive.Unmount();  // its mount point stays behind, an empty folder
    Reload();
    const ToolResult survey = CountMissingFiles(catalogue, host);
    EXPECT_EQ(survey.Changed, 0);
    EXPECT_EQ(survey.DriveAway, 3);
    ToolResult result = RemoveMissingFiles(catalogue, host);
    EXPECT_EQ(result.Changed, 0);
    EXPECT_EQ(result.DriveAway, 3);
    EXPECT_NE(Log("delete.log").find("Kept file on a drive that is not plugged in " + place + "/a.avi"), std::string::npos);
    EXPECT_NE(Log("delete.log").find("3 records kept: their drive is not plugged in."), std::string::npos);

    // Mounted at another place, its records' paths still point at the empty folder.
    ASSERT_TRUE(drive.Mount(elsewhere));
    Reload();
    EXPECT_EQ(RemoveMissingFiles(catalogue, host).Changed, 0);
    EXPECT_EQ(Paths(), Under(place));

    ASSERT_TRUE(drive.Mount(place));
    std::filesystem::remove(place + "/b.avi");
    Reload();
    result = RemoveMissingFiles(catalogue, host);
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(result.DriveAway, 0);
    EXPECT_EQ(Paths(), (std::vector<std::string>{place + "/a.avi", place + "/sub/c.avi"}));

    // A copy of the drive made block by block, plugged in beside it: which holds what is not known.
    LoopDrive clone(folder.Path("clone.img"), "5e1c0a2b-0021-4a2b-9c3d-5e6f7a8b9c0d", "FILMS");
    ASSERT_TRUE(clone.Mount(elsewhere));
    std::filesystem::remove(place + "/a.avi");
    Reload();
    ASSERT_TRUE(Films().Cloned);
    EXPECT_EQ(RemoveMissingFiles(catalogue, host).Changed, 0);
}

TEST_F(DriveTools, RebindRepointsEveryRecordExactlyInOneStepAndUndoes) {
    EXPECT_EQ(RebindDrive(catalogue, "FILMS", "", host).Changed, 0);  // already where it is mounted
    drive.Unmount();
    Reload();
    EXPECT_EQ(RebindDrive(catalogue, "FILMS", "", host).Error, "The drive FILMS is not plugged in");
    EXPECT_EQ(RebindDrive(catalogue, "FILMS", "relative/place", host).Error,
              "The new place of a drive must be an absolute path: relative/place");

    ASSERT_TRUE(drive.Mount(elsewhere));
    Reload();
    EXPECT_EQ(RecordsToRepoint(catalogue, Films()), 3);
    host.stopAfter = 1;
    EXPECT_TRUE(RebindDrive(catalogue, "FILMS", "", host).Cancelled);
    EXPECT_EQ(Paths(), Under(place));  // a cancel writes nothing

    ASSERT_EQ(catalogue.Store.Execute("INSERT INTO rvFileMedia SELECT FileID, rv_path_key(FileName), 'avi', 'mpeg4', 64, 48, "
                                      "25, 0, 0, 0, 0, '', '', '', '', 0, '', 0 FROM tblFile"),
              "");
    host = {};
    ASSERT_EQ(catalogue.Store.Execute("INSERT INTO rvFrame SELECT FileID, rv_path_key(FileName), 2, 2, 'x', '', 0 FROM tblFile"), "");
    const ToolResult moved = RebindDrive(catalogue, "FILMS", "", host);
    EXPECT_EQ(moved.Error, "");
    EXPECT_EQ(moved.Changed, 3);
    EXPECT_EQ(Paths(), Under(elsewhere));
    for (const std::string& path : Under(elsewhere)) EXPECT_TRUE(std::filesystem::exists(path)) << path;
    // The files are the same ones: their hashes stay theirs.
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFileHash h JOIN tblFile f ON f.FileID = h.FileID "
                                      "WHERE h.PathKey = rv_path_key(f.FileName)"),
              "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 3);
    // And so do their media facts.
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFileMedia m JOIN tblFile f ON f.FileID = m.FileID "
                                      "WHERE m.PathKey = rv_path_key(f.FileName)"),
              "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 3);
    // And their frames show the same films.
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFrame r JOIN tblFile f ON f.FileID = r.FileID "
                                      "WHERE r.PathKey = rv_path_key(f.FileName)"),
              "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 3);
    EXPECT_EQ(RecordsToRepoint(catalogue, Films()), 0);
    EXPECT_EQ(Films().MountPoint, elsewhere);
    EXPECT_EQ(Log("rebind.log"), "Reelvault\nThe records of the drive FILMS have been re-pointed to " + elsewhere + "\n" +
                                     place + "/a.avi RE-POINTED TO " + elsewhere + "/a.avi\n" + place +
                                     "/b.avi RE-POINTED TO " + elsewhere + "/b.avi\n" + place +
                                     "/sub/c.avi RE-POINTED TO " + elsewhere + "/sub/c.avi\n");

    EXPECT_EQ(RebindDrive(catalogue, "FILMS", place + "/", host).Changed, 3);
    EXPECT_EQ(Paths(), Under(place));
}

TEST_F(DriveTools, AFileMovedOnItsDriveKeepsItsHashFactsAndFrameWhereverItsRecordIsPointed) {
    const auto trusted = [&](const std::string& table = "rvFileHash") {
        Reload();
        EXPECT_EQ(catalogue.Store.Execute("SELECT count(*) FROM " + table + " h JOIN tblFile f ON f.FileID = h.FileID "
                                          "WHERE h.PathKey = rv_path_key(f.FileName)"),
                  "");
        return catalogue.Store.Field(0).AsInt();
    };
    ASSERT_EQ(trusted(), 3);
    ASSERT_EQ(catalogue.Store.Execute("INSERT INTO rvFileMedia SELECT FileID, rv_path_key(FileName), 'avi', 'mpeg4', 64, 48, "
                                      "25, 0, 0, 0, 0, '', '', '', '', 0, '', 0 FROM tblFile"),
              "");
    ASSERT_EQ(catalogue.Store.Execute("INSERT INTO rvFrame SELECT FileID, rv_path_key(FileName), 2, 2, 'x', '', 0 FROM tblFile"), "");
    std::filesystem::create_directories(place + "/moved");
    std::filesystem::rename(place + "/a.avi", place + "/moved/a.avi");  // the same file: size, time and inode
    ASSERT_EQ(DetectMovedFiles(catalogue, place + "/moved", host).Changed, 1);
    EXPECT_EQ(trusted(), 3);
    EXPECT_EQ(trusted("rvFileMedia"), 3);
    EXPECT_EQ(trusted("rvFrame"), 3);
    folder.Write("FILMS/moved/a.avi", "other contents");  // no longer the file that was hashed
    ASSERT_EQ(catalogue.Store.Execute("UPDATE tblFile SET FileName = '" + place + "/moved/b.avi' WHERE FileName = '" +
                                      place + "/moved/a.avi'"),
              "");
    std::filesystem::rename(place + "/moved/a.avi", place + "/moved/b.avi");
    EXPECT_EQ(trusted(), 2);
    EXPECT_EQ(trusted("rvFileMedia"), 2);  // the facts and frame of another file are not taken for its own
    EXPECT_EQ(trusted("rvFrame"), 2);
}

TEST_F(DriveTools, ForgetDeletesTheDrivesRecordsAndNoOther) {
    FileRecord other;
    other.FileName = folder.Write("elsewhere.avi", "x");
    other.Keywords = {"kept"};
    ASSERT_GT(InsertFile(catalogue, other).ID, 0);
    ASSERT_TRUE(catalogue.Files.GotoFileName(place + "/a.avi"));
    FileRecord tagged = *catalogue.Files.Current();
    tagged.Keywords = {"gone"};
    ASSERT_EQ(UpdateFile(catalogue, tagged), "");
    Reload();
    EXPECT_EQ(RecordsOnDrive(catalogue, Films().DriveID), 3);

    drive.Unmount();  // a drive given away is forgotten while it is not there
    Reload();
    EXPECT_EQ(ForgetDrive(catalogue, "FILMS", host).Changed, 3);
    EXPECT_EQ(Paths(), std::vector<std::string>{other.FileName});
    EXPECT_EQ(catalogue.Drives.ByName("FILMS"), nullptr);
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM tblFileKeywordJunction"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 1);
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*) FROM rvFileDrive"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 1);
}

TEST_F(DriveTools, ADriveUnpluggedDuringALoadStopsItWithASentenceKeepingWhatWasAdded) {
    for (int i = 0; i < 600; ++i) Make("many/" + std::to_string(i) + ".mkv");
    struct Unplugging : RecordingHost {
        LoopDrive* drive = nullptr;
        bool Progress(std::int64_t done, std::int64_t total, const std::string& current) override {
            if (items == 20) drive->Unmount();
            return RecordingHost::Progress(done, total, current);
        }
    } unplugging;
    unplugging.drive = &drive;
    const ToolResult result = LoadDirectory(catalogue, {place + "/many", "*.mkv", false, true}, unplugging);
    EXPECT_EQ(result.Error, "The drive of " + place + "/many/ was unplugged during the load");
    EXPECT_GT(result.Changed, 0);
    EXPECT_LT(result.Changed, 600);
    EXPECT_EQ(result.Unreadable, 0);
    Reload();
    EXPECT_EQ(catalogue.Files.Count(), 3 + result.Changed);
}
