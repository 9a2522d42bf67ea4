// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <functional>

#include "model/modCatalogue.h"
#include "tools/DetectFileTypes.h"
#include "tools/DetectMovedFiles.h"
#include "tools/FindReplace.h"
#include "tools/LoadDirectory.h"
#include "tools/RebindDrive.h"
#include "tools/RemoveMissingFiles.h"
#include "tools/ToolFixture.h"

namespace {

class Maintenance : public ToolTest {
protected:
    int Add(const std::string& path, int type = -1, std::vector<std::string> keywords = {}, std::int64_t size = 0) {
        FileRecord record;
        record.FileName = path;
        record.TypeID = type;
        record.Title = "kept";
        record.Keywords = std::move(keywords);
        record.Size = size;
        return InsertFile(catalogue, record).ID;
    }
};

}  // namespace

TEST_F(Maintenance, RemoveMissingDeletesOnlyFilesThatAreTrulyGone) {
    const std::string present = Make("here.avi");
    const std::string hidden = Make(".hidden.avi");
    Add(present);
    Add(hidden);
    Add(media + "gone 'quoted'.avi", -1, {"k"});
    Add(folder.Path("unplugged/drive/a.avi"));
    Reload();
    const ToolResult counted = CountMissingFiles(catalogue, host);
    EXPECT_EQ(counted.Changed, 1);
    EXPECT_EQ(counted.Skipped, 1);
    ToolResult result = RemoveMissingFiles(catalogue, host);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(result.Skipped, 1);
    const std::string skipped = "Skipped unreachable file " + folder.Path("unplugged/drive/a.avi") + "\n";
    EXPECT_EQ(Log("delete.log"), "Deleted missing file " + media + "gone 'quoted'.avi\n" + skipped);
    EXPECT_EQ(Paths(), (std::vector<std::string>{media + ".hidden.avi", media + "here.avi", folder.Path("unplugged/drive/a.avi")}));
    EXPECT_EQ(catalogue.Store.Execute("SELECT count(*) FROM tblFileKeywordJunction"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsInt(), 0);

    result = RemoveMissingFiles(catalogue, host);  // a second run appends
    EXPECT_EQ(result.Changed, 0);
    EXPECT_EQ(Log("delete.log"), "Deleted missing file " + media + "gone 'quoted'.avi\n" + skipped + skipped);
    EXPECT_EQ(host.shownLogs.size(), 2u);
}

TEST_F(Maintenance, DetectMovedRepointsOnlyRecordsThatPlainlyMoved) {
    const std::string moved = Make("new place/a é.avi");
    const std::string shared = Make("new place/01.mp3");
    Make("new place/copied.avi");
    Make("new place/resized.avi");
    const int first = Add("/old/a é.avi", 1, {"live"}, 1);
    Add("/cd1/01.mp3");
    Add("/cd2/01.mp3");
    Add(Make("old place/copied.avi"));
    Add("/old/resized.avi", -1, {}, 5);
    Add("/old/held.avi");
    const std::string held = Make("new place/held.avi");
    Add(held);
    Reload();
    const ToolResult result = DetectMovedFiles(catalogue, media + "new place", host);
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(result.Skipped, 3);
    const std::string header = "Reelvault\nThe following files have been detected as being moved\n";
    EXPECT_EQ(Log("move.log"), header + "/cd1/01.mp3 NOT MOVED: more than one record matches " + shared + "\n"
                                "/cd2/01.mp3 NOT MOVED: more than one record matches " + shared + "\n"
                                "/old/a é.avi MOVED TO " + moved + "\n"
                                "/old/held.avi NOT MOVED: another record has the path " + held + "\n");
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/cd1/01.mp3", "/cd2/01.mp3", "/old/held.avi", "/old/resized.avi", moved, held,
                                                 media + "old place/copied.avi"}));
    ASSERT_TRUE(catalogue.Files.GotoFileID(first));
    const FileRecord kept{first, moved, "kept", 1, 0, "", 1, 0, "", 0, {"live"}, catalogue.Files.Current()->DriveID};
    EXPECT_EQ(*catalogue.Files.Current(), kept);
    ASSERT_EQ(catalogue.Store.Execute("SELECT quote(Category) FROM tblFile WHERE FileID=?1", {first}), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsText(), "NULL");

}

TEST_F(Maintenance, DetectFileTypesWritesOnlyWrongTypes) {
    ASSERT_EQ(SaveFileType(catalogue, -1, "Audio", "", {"mp3"}).Error, "");
    ASSERT_EQ(SaveFileType(catalogue, -1, "Video", "", {"avi"}).Error, "");
    Add("/m/clip.MP3", 2);
    Add("/m/right.avi", 2);
    Add("/my.dir/clip", 2);
    Add("/m/none");
    Reload();
    const ToolResult result = DetectFileTypes(catalogue, host);
    EXPECT_EQ(result.Changed, 1);
    EXPECT_EQ(host.statuses, (std::vector<std::string>{"Please wait.  Detecting file types....", ""}));
    ASSERT_EQ(catalogue.Store.Execute("SELECT group_concat(quote(Type)) FROM (SELECT Type FROM tblFile ORDER BY FileID)"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsText(), "1,2,2,NULL");
}

TEST_F(Maintenance, FindReplaceIsCaseSensitiveAndAtomicPerRecord) {
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("/x/y/x", "x", ""), "//y/");
    Add("/Media/Rock'n'Roll/a.mp3");
    Add("/media/b.avi");
    Reload();
    EXPECT_EQ(CountPathsContaining(catalogue.Files, "/Media"), 1);
    EXPECT_EQ(CountPathsContaining(catalogue.Files, ""), 0);
    EXPECT_EQ(FindReplace(catalogue, "/Media", "/Disk 2/Média", host).Changed, 1);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/Disk 2/Média/Rock'n'Roll/a.mp3", "/media/b.avi"}));

    ASSERT_EQ(catalogue.Store.Execute("PRAGMA query_only=1"), "");
    const ToolResult refused = FindReplace(catalogue, "/", "\\", host);
    EXPECT_NE(refused.Error, "");
    EXPECT_EQ(refused.Changed, 0);
}

// A run refused before it starts writes nothing but the start of its log, and shows no log.
TEST_F(Maintenance, RefusedRunsSayWhyAndChangeNothing) {
    const std::string present = Make("here.avi");
    Add(present);
    Reload();
    const std::string nowhere = media + "nowhere";
    const std::string unread = "Cannot read the folder " + nowhere + ": No such file or directory";
    const std::string moved = "Reelvault\nThe following files have been detected as being moved\n";
    struct Refusal {
        std::function<ToolResult()> run;
        std::string error, log, logged;
    };
    const Refusal refusals[] = {
        {[&] { return LoadDirectory(catalogue, {"", "*.txt", false, false}, host); }, "Choose the folder to load", "load.log",
         "Reelvault\nLoaded *.txt\n\n"},
        {[&] { return LoadDirectory(catalogue, {nowhere, "*.txt", false, true}, host); }, unread, "load.log",
         "Reelvault\nLoaded " + nowhere + "/*.txt\n\n"},
        {[&] { return DetectMovedFiles(catalogue, "", host); }, "Choose the folder the files were moved to", "move.log", moved},
        {[&] { return DetectMovedFiles(catalogue, nowhere, host); }, unread, "move.log", moved},
        {[&] { return FindReplace(catalogue, "", "x", host); }, "You must enter text to find", "", ""},
        {[&] { return RebindDrive(catalogue, "NONE", "", host); }, "No drive named NONE", "", ""},
    };
    for (const Refusal& refusal : refusals) {
        const ToolResult result = refusal.run();
        EXPECT_EQ(result.Error, refusal.error);
        EXPECT_EQ(result.Changed, 0) << refusal.error;
        EXPECT_EQ(result.LogPath, "") << refusal.error;
        if (!refusal.log.empty()) {
            EXPECT_EQ(Log(refusal.log), refusal.logged) << refusal.error;
        }
    }
    EXPECT_EQ(host.shownLogs, std::vector<std::string>{});
    EXPECT_EQ(Paths(), std::vector<std::string>{present});
}
