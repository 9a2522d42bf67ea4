// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "analysis/modReadFileEx.h"
#include "model/modCatalogue.h"
#include "refresh/RefreshApply.h"
#include "refresh/RefreshPlan.h"
#include "tools/LoadDirectory.h"
#include "common/LoopDrive.h"
#include "tools/ToolFixture.h"

namespace fs = std::filesystem;

namespace {

// Root reads every folder, so the one the walk cannot read is made so here.
int FailLocked(int parent, const char* name) {
    if (std::string(name) == "locked") {
        errno = EACCES;
        return -1;
    }
    return openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
}

void SetTime(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// A catalogued tree, then every kind of change made to it as a person would.
class RefreshTest : public ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        Reload();  // the catalogue's own tables, for the hashes
        for (const auto& [name, contents] : std::map<std::string, std::string>{
                 {"a.avi", "aa"}, {"b.avi", "bbb"}, {"c.avi", "cccc"}, {"d.avi", "ddddd"}, {"e.avi", "eeeeee"},
                 {"f.avi", "fffffff"}, {"u.avi", "uuuuuuuu"}, {"locked/l.avi", "lllllllll"}})
            Make(name, contents);
        ASSERT_EQ(LoadDirectory(catalogue, {media, "*.avi", true, true}, host).Error, "");
        Reload();
        ASSERT_EQ(catalogue.Files.Count(), 8);
        ASSERT_TRUE(catalogue.Files.GotoFileName(media + "c.avi"));
        FileRecord kept = *catalogue.Files.Current();
        kept.Title = "Kept title";
        kept.Rating = 4;
        kept.Keywords = {"holiday", "sea"};
        ASSERT_EQ(UpdateFile(catalogue, kept), "");
        keptID = kept.FileID;

        fs::rename(media + "a.avi", media + "a-renamed.avi");                 // in place
        fs::create_directories(media + "sub");
        fs::rename(media + "b.avi", media + "sub/b.avi");                     // another folder
        Make("other/c-new.avi", "cccc");                                      // new name, new time, same contents
        SetTime(media + "other/c-new.avi", 1'000'000);
        fs::remove(media + "c.avi");
        Make("d.avi", "DDDDDDDDDDDD");                                        // an edit
        fs::remove(media + "e.avi");                                          // a deletion
        Make("n.avi", "a new file");                                          // new, and under a second name
        fs::create_hard_link(media + "n.avi", media + "n-link.avi");
        Make("g1.avi", "fffffff");                                            // f's contents, twice
        Make("g2.avi", "fffffff");
        fs::remove(media + "f.avi");
        Make("notes.txt", "not a film");
        fs::create_directory_symlink(media, media + "sub/loop");
        Reload();
    }

    // The sub-folder named too is walked once, as part of the whole.
    RefreshPlan Plan() { return MakeRefreshPlan(catalogue, {{media + "sub", media}, "", "*.avi", FailLocked}, host); }

    // "kind old -> new" per row, the way a person reads the plan.
    static std::vector<std::string> Rows(const RefreshPlan& plan, const std::string& root) {
        std::vector<std::string> rows;
        const auto cut = [&](const std::string& path) { return path.empty() ? "" : path.substr(root.size()); };
        for (const PlanRow& row : plan.Rows) rows.push_back(std::string(KindName(row.Kind)) + " " + cut(row.OldPath) + " -> " + cut(row.NewPath));
        return rows;
    }

    int keptID = -1;
};

TEST_F(RefreshTest, PlanSortsEveryChangeAndOpensOnlyWhatItMust) {
    const RefreshPlan plan = Plan();
    ASSERT_EQ(plan.Error, "");
    EXPECT_EQ(Rows(plan, media), (std::vector<std::string>{
                                     "new  -> n-link.avi",
                                     "moved a.avi -> a-renamed.avi",
                                     "moved b.avi -> sub/b.avi",
                                     "moved c.avi -> other/c-new.avi",
                                     "changed d.avi -> d.avi",
                                     "missing e.avi -> ",
                                     "unchanged u.avi -> ",
                                     "unreadable  -> locked/",
                                     "unreadable locked/l.avi -> ",
                                     "ambiguous f.avi -> ",
                                     "ambiguous  -> g1.avi",
                                     "ambiguous  -> g2.avi",
                                 }));
    EXPECT_EQ(plan.HardLinks, std::vector<std::string>{media + "n.avi is the same file as " + media + "n-link.avi"});
    // Read: the edit, the new file, and the files as large as a record gone (c, and f twice). The
    // renamed files and the unchanged one are known by their inodes.
    EXPECT_EQ(plan.BytesRead, 12 + 10 + 4 + 7 + 7);
    EXPECT_EQ(Paths().size(), 8u) << "a plan writes nothing";
}

TEST_F(RefreshTest, ApplyKeepsMovedRecordsAndLeavesUntickedRowsAlone) {
    RefreshPlan plan = Plan();
    for (PlanRow& row : plan.Rows) row.Ticked = row.Ticked && row.Kind != RefreshKind::Missing;
    const ToolResult result = ApplyRefresh(catalogue, plan, host);
    ASSERT_EQ(result.Error, "");
    EXPECT_EQ(result.Changed, 5);  // one new, three moved, one changed
    Reload();
    ASSERT_TRUE(catalogue.Files.GotoFileID(keptID));
    const FileRecord moved = *catalogue.Files.Current();
    EXPECT_EQ(moved.FileName, media + "other/c-new.avi");
    EXPECT_EQ(moved.Title, "Kept title");
    EXPECT_EQ(moved.Rating, 4);
    EXPECT_EQ(moved.Keywords, (std::vector<std::string>{"holiday", "sea"}));
    ASSERT_TRUE(catalogue.Files.GotoFileName(media + "d.avi"));
    EXPECT_EQ(catalogue.Files.Size(), 12);
    EXPECT_EQ(catalogue.Files.CRC(), CalculateFileCRC(media + "d.avi").Text);
    EXPECT_TRUE(catalogue.Files.GotoFileName(media + "e.avi")) << "an unticked missing record stays";
    EXPECT_TRUE(catalogue.Files.GotoFileName(media + "locked/l.avi")) << "a record out of reach stays";
    const std::string log = Log("refresh.log");
    EXPECT_NE(log.find(media + "c.avi MOVED TO " + media + "other/c-new.avi"), std::string::npos) << log;
    EXPECT_NE(log.find("Added " + media + "n-link.avi"), std::string::npos) << log;

    // Once applied, the moved files' hashes follow them: nothing of them is read again.
    const RefreshPlan again = Plan();
    EXPECT_EQ(again.Count(RefreshKind::Unchanged), 6);
    EXPECT_EQ(again.Count(RefreshKind::Missing), 1);
    EXPECT_EQ(again.Count(RefreshKind::New) + again.Count(RefreshKind::Moved) + again.Count(RefreshKind::Changed), 0);
}

TEST_F(RefreshTest, ARowThatNoLongerHoldsIsSkippedAndACancelKeepsWhatWasApplied) {
    RefreshPlan plan = Plan();
    Make("n.avi", "grew after the plan");  // and so did its other name, the row's
    host.items = 0;
    host.stopAfter = 3;
    const ToolResult result = ApplyRefresh(catalogue, plan, host);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Skipped, 1);
    EXPECT_EQ(result.Changed, 2);  // two of the three moves; the fourth row was never begun
    const std::string log = Log("refresh.log");
    EXPECT_NE(log.find("Skipped " + media + "n-link.avi: the file changed or went since the plan"), std::string::npos) << log;
    EXPECT_NE(log.find("Cancelled after 3 of 6 rows."), std::string::npos) << log;
    const std::vector<std::string> paths = Paths();
    EXPECT_EQ(std::count(paths.begin(), paths.end(), media + "a-renamed.avi"), 1);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), media + "c.avi"), 1) << "the row after the cancel is not applied";
}

TEST_F(RefreshTest, ARecordAnotherProgramChangedSinceThePlanIsLeftAsItIs) {
    const RefreshPlan plan = Plan();
    ASSERT_EQ(catalogue.Store.Execute("UPDATE tblFile SET FileName='elsewhere.avi' WHERE FileID=?1", {keptID}), "");
    const ToolResult result = ApplyRefresh(catalogue, plan, host);
    EXPECT_EQ(result.Skipped, 1);
    EXPECT_NE(Log("refresh.log").find("Skipped " + media + "c.avi: its record changed since the plan"), std::string::npos);
    ASSERT_TRUE(catalogue.Store.Execute("SELECT FileName FROM tblFile WHERE FileID=?1", {keptID}).empty());
    EXPECT_EQ(catalogue.Store.Field(0).AsText(), "elsewhere.avi");
}

TEST_F(RefreshTest, ADriveThatIsAwayStopsTheRunAndDeletesNothing) {
    RefreshPlan plan = Plan();
    plan.RootDevices.front() += 1;  // as if another filesystem were under the folder now
    const ToolResult result = ApplyRefresh(catalogue, plan, host);
    EXPECT_EQ(result.Error, "The drive of " + media + " is not plugged in any more: nothing more was changed");
    EXPECT_EQ(result.Changed, 0);
    EXPECT_TRUE(catalogue.Files.GotoFileName(media + "e.avi"));
    EXPECT_EQ(MakeRefreshPlan(catalogue, {{}, "NOSUCH", "", {}}, host).Error, "No drive named NOSUCH");
}

}  // namespace

namespace {

// A real drive: refreshed by its name while plugged in, and left whole while it is away.
class RefreshDriveTest : public ToolTest {};

TEST_F(RefreshDriveTest, ItsRecordsAreNeverTakenForMissingWhileItIsAway) {
    LoopDrive drive(folder.Path("films.img"), "0b6f7c1e-2626-4a2b-9c3d-5e6f7a8b9c0d", "FILMS");
    const std::string place = folder.Path("mnt/FILMS");
    if (!drive.Mount(place)) GTEST_SKIP() << drive.Skip();
    folder.Write("mnt/FILMS/a.avi", "first film");
    folder.Write("mnt/FILMS/b.avi", "second film!");
    Reload();
    ASSERT_EQ(LoadDirectory(catalogue, {place, "*.avi", true, true}, host).Error, "");
    Reload();
    fs::rename(place + "/a.avi", place + "/a-renamed.avi");
    fs::remove(place + "/b.avi");
    const RefreshPlan plan = MakeRefreshPlan(catalogue, {{}, "FILMS", "*.avi", {}}, host);
    ASSERT_EQ(plan.Error, "");
    EXPECT_EQ(plan.Count(RefreshKind::Moved), 1);
    EXPECT_EQ(plan.Count(RefreshKind::Missing), 1);

    drive.Unmount();
    Reload();
    EXPECT_EQ(MakeRefreshPlan(catalogue, {{}, "FILMS", "", {}}, host).Error,
              "The drive FILMS is not plugged in: plug it in and refresh again");
    const RefreshPlan ofEmptyFolder = MakeRefreshPlan(catalogue, {{place}, "", "", {}}, host);
    EXPECT_EQ(ofEmptyFolder.DriveAway, 2);
    EXPECT_EQ(ofEmptyFolder.Count(RefreshKind::Missing), 0);
    EXPECT_EQ(ApplyRefresh(catalogue, plan, host).Error, "The drive FILMS is not plugged in: nothing was changed");
    EXPECT_EQ(Paths(), (std::vector<std::string>{place + "/a.avi", place + "/b.avi"}));
}

}  // namespace
