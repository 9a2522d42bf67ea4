// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/LoadDirectory.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/FileSizeLimit.h"
#include "model/modCatalogue.h"
#include "tools/ToolFixture.h"

namespace {

class Load : public ToolTest {
protected:
    ToolResult Run(const std::string& patterns, bool crc, bool recursive = false, const std::string& folderText = "") {
        Reload();
        return LoadDirectory(catalogue, {folderText.empty() ? media : folderText, patterns, recursive, crc}, host);
    }
};

}  // namespace

TEST_F(Load, SkipsDuplicatesByPathAndByCrcAndLogsThem) {
    Make("a.txt", "123456789");
    Make("b copy.TXT", "123456789");
    Make("c'é.txt", "other");
    Make("skip.dat");
    ToolResult first = Run("*.txt", true, false, media.substr(0, media.size() - 1));
    EXPECT_EQ(first.Error, "");
    EXPECT_EQ(first.Changed, 2);
    EXPECT_EQ(Log("load.log"), "Reelvault\nLoaded " + media + "*.txt\n\nNot adding possible duplicate " + media +
                                   "b copy.TXT.  Matches CRC of " + media + "a.txt\n\n1 possible duplicates not added.\n"
                                   "2 files added.\n");
    EXPECT_EQ(host.shownLogs, std::vector<std::string>{first.LogPath});
    EXPECT_EQ(host.statuses.back(), "Finished loading directory " + media);
    EXPECT_EQ(Paths(), (std::vector<std::string>{media + "a.txt", media + "c'é.txt"}));
    ASSERT_TRUE(catalogue.Files.GotoFileName(media + "a.txt"));
    EXPECT_EQ(catalogue.Files.CRC(), "CBF43926");
    EXPECT_EQ(catalogue.Files.Size(), 9);
    EXPECT_EQ(catalogue.Files.Length(), 0);

    const ToolResult again = Run("*.txt", true);  // the trailing "/" is not doubled
    EXPECT_EQ(again.Changed, 0);
    EXPECT_EQ(again.Skipped, 3);
    EXPECT_NE(Log("load.log").find("Not adding duplicate filename " + media + "c'é.txt\n"), std::string::npos);
    EXPECT_NE(Log("load.log").find("\n3 possible duplicates not added.\n0 files added.\n"), std::string::npos);
}

TEST_F(Load, WithoutCrcsCopiesAreAddedAndTypesComeFromExtensions) {
    Make("a.mp3", "same");
    Make("b.MP3", "same");
    Make("c", "same");
    ASSERT_EQ(SaveFileType(catalogue, -1, "Audio", "", {"mp3"}).Error, "");
    EXPECT_EQ(Run("*", false).Changed, 3);
    Reload();
    for (const FileRecord& record : catalogue.Files.Records()) {
        EXPECT_EQ(record.CRC, "") << record.FileName;
        EXPECT_EQ(record.TypeID, record.FileName.ends_with("c") ? 0 : 1) << record.FileName;
    }
}

TEST_F(Load, ScansSubfoldersInNameOrderWithEveryPattern) {
    for (const char* name : {"b.flac", "a/z.MP3", "a/deeper/y.mp3", ".hidden.mp3", "c.txt", "d/x.FLAC"}) Make(name);
    std::filesystem::create_directory_symlink(media + "a", media + "loop");
    EXPECT_EQ(Run("*.mp3; *.flac", false, true).Changed, 4);
    EXPECT_EQ(Paths(), (std::vector<std::string>{media + "a/deeper/y.mp3", media + "a/z.MP3", media + "b.flac",
                                                 media + "d/x.FLAC"}));
    EXPECT_EQ(Run("*.MP3", false).Changed, 0);  // not recursive: only the folder itself
    EXPECT_EQ(Log("load.log"), "Reelvault\nLoaded " + media + "*.MP3\n\n");  // nothing matched: no totals
}

TEST_F(Load, StopsWhenAskedAndKeepsWhatWasAdded) {
    for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) Make(name, name);
    host.stopAfter = 2;
    const ToolResult result = Run("*.txt", true);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Changed, 2);
    EXPECT_EQ(Paths().size(), 2u);
    EXPECT_NE(Log("load.log").find("\n\nCancelled.\n0 possible duplicates not added.\n2 files added.\n"), std::string::npos);
}

TEST_F(Load, AKilledRunLeavesOnlyWholeRecords) {
    for (int i = 0; i < 3000; ++i) Make("f" + std::to_string(i) + ".txt", std::to_string(i));
    const std::string path = catalogue.Store.FileName();
    catalogue.Store.CloseDB();
    const pid_t child = fork();
    if (child == 0) {
        struct SlowHost : RecordingHost {
            bool Progress(std::int64_t, std::int64_t, const std::string&) override { return usleep(1000) == 0; }
        } slow;
        Catalogue own;
        if (!OpenCatalogue(own.Store, path).empty()) _exit(2);
        LoadDirectory(own, {media, "*.txt", false, true}, slow);
        _exit(0);
    }
    clsSQLite watcher;
    ASSERT_EQ(watcher.OpenDB(path), "");
    for (int tries = 0; tries < 2000; ++tries) {  // until the first batch is on disk
        if (watcher.Execute("SELECT count(*) FROM tblFile") == "" && watcher.Field(0).AsInt() > 0) break;
        usleep(1000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    watcher.CloseDB();

    ASSERT_EQ(OpenCatalogue(catalogue.Store, path), "");
    ASSERT_EQ(catalogue.Store.Execute("PRAGMA integrity_check"), "");
    EXPECT_EQ(catalogue.Store.Field(0).AsText(), "ok");
    ASSERT_EQ(catalogue.Store.Execute("SELECT count(*), sum(CRC IS NULL OR Size IS NULL OR Length IS NULL OR Rating IS NULL) FROM tblFile"), "");
    EXPECT_GT(catalogue.Store.Field(0).AsInt(), 0);
    EXPECT_EQ(catalogue.Store.Field(1).AsInt(), 0);
}

TEST_F(Load, ManyCataloguedFilesBeforeANewOneDoNotStallTheRun) {
    for (int i = 0; i < 600; ++i) Make("f" + std::to_string(1000 + i) + ".txt", std::to_string(i));
    EXPECT_EQ(Run("*.txt", true).Changed, 600);
    Make("z.txt", "new");
    const ToolResult again = Run("*.txt", true);
    EXPECT_EQ(again.Changed, 1);
    EXPECT_EQ(again.Skipped, 600);
}

TEST_F(Load, AFullDiskStopsTheRunLoudlyAndKeepsWhatWasCommitted) {
    const std::string padding(150, 'p');
    for (int i = 0; i < 5000; ++i) Make(padding + std::to_string(i) + ".txt", "x");
    ASSERT_EQ(InsertFile(catalogue, {-1, "/before.avi", "", -1, -1, "", 1, 0, "", 0, {"k"}}).Error, "");
    Reload();
    ToolResult result;
    {
        const FileSizeLimit disk(std::filesystem::file_size(catalogue.Store.FileName()) + 1200 * 1024);
        result = LoadDirectory(catalogue, {media, "*.txt", false, false}, host);
    }
    EXPECT_EQ(result.Error, kCatalogueFull);
    EXPECT_GT(result.Changed, 0);
    EXPECT_LT(result.Changed, 5000);
    EXPECT_NE(Log("load.log").find("Stopped: " + std::string(kCatalogueFull)), std::string::npos);

    Catalogue reopened;
    ASSERT_EQ(OpenCatalogue(reopened.Store, catalogue.Store.FileName()), "");
    ASSERT_EQ(reopened.Store.Execute("PRAGMA integrity_check"), "");
    EXPECT_EQ(reopened.Store.Field(0).AsText(), "ok");
    ASSERT_EQ(reopened.Reload(), "");
    EXPECT_EQ(reopened.Files.Count(), result.Changed + 1);
    EXPECT_TRUE(reopened.Files.GotoFileName("/before.avi"));
}
