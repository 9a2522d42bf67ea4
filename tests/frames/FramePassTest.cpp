// SPDX-License-Identifier: GPL-3.0-or-later
#include "frames/FramePass.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "common/ReadOnlyFile.h"
#include "common/TempFolder.h"
#include "frames/FrameMaker.h"
#include "store/OwnTables.h"
#include "store/modSchema.h"

namespace {

class FramePassTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string command = "cd '" + folder.Root() + "' && ffmpeg -hide_banner -loglevel error"
            " -f lavfi -i sine=duration=2 -f lavfi -i testsrc=size=160x120:duration=2"
            " -map 1:v -c:v mpeg4 film.avi -map 0:a -c:a libmp3lame song.mp3";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::filesystem::create_directory(folder.Path("db"));
        ASSERT_EQ(CreateNewDatabase(store, folder.Path("db/c.rvd")), "");
        ASSERT_TRUE(MakeOwnTables(store).Usable());
        for (const char* name : {"film.avi", "song.mp3", "away.mkv"}) Add(folder.Path(name));
    }
    void Add(const std::string& path) {
        ASSERT_EQ(store.Execute("INSERT INTO tblFile(FileName, Title) VALUES(?1, 't');", {path}), "");
    }
    std::string Ask(const std::string& sql) {
        EXPECT_EQ(store.Execute(sql), "") << sql;
        return store.Field(0).AsText();
    }
    std::vector<int> Missing() {
        std::vector<FrameWanted> wanted;
        EXPECT_EQ(MissingFrames(store, wanted), "");
        std::vector<int> ids;
        for (const FrameWanted& one : wanted) ids.push_back(one.FileID);
        return ids;
    }

    TempFolder folder;
    clsSQLite store;
    ThumbnailCache cache{folder.Path("thumbnails")};
};

}  // namespace

TEST_F(FramePassTest, MakesWhatIsMissingAndNotesFilesWithoutPictures) {
    std::vector<int> arrived;
    std::vector<std::string> log;
    const FramePassHost host{nullptr, [&](const std::vector<int>& ids) { arrived.insert(arrived.end(), ids.begin(), ids.end()); },
                             [&](const std::string& line) { log.push_back(line); }};
    const FramePassResult result = MakeMissingFrames(store, &cache, host);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Made, 1);
    EXPECT_EQ(result.NoPicture, 1);
    EXPECT_EQ(result.Failed, 1);  // its drive is away: tried again next time
    EXPECT_EQ(arrived, (std::vector<int>{1, 2}));
    EXPECT_EQ(log.size(), 1u);  // the song; a file that is not there is not logged at every pass
    EXPECT_EQ(Missing(), std::vector<int>{3});

    std::optional<StoredFrame> found;
    ASSERT_EQ(ReadFrame(store, 1, folder.Path("film.avi"), found), "");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Width, 160);
    EXPECT_EQ(found->Jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(Ask("SELECT typeof(Picture) FROM rvFrame WHERE FileID = 1"), "blob");
    ASSERT_EQ(ReadFrame(store, 2, folder.Path("song.mp3"), found), "");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Jpeg, "");
    EXPECT_NE(found->Note.find("it has no pictures"), std::string::npos) << found->Note;
    // The desktop's cache has the film's thumbnail, and the song's failure under our name.
    struct stat info {};
    ASSERT_EQ(stat(folder.Path("film.avi").c_str(), &info), 0);
    EXPECT_TRUE(cache.Find(folder.Path("film.avi"), info.st_mtime));
    EXPECT_TRUE(std::filesystem::exists(cache.FailPath(folder.Path("song.mp3"))));

    // A record given another path no longer trusts the row; a deleted record takes its row along.
    ASSERT_EQ(store.Execute("UPDATE tblFile SET FileName = FileName || '.moved' WHERE FileID = 1"), "");
    EXPECT_EQ(Missing(), (std::vector<int>{1, 3}));
    ASSERT_EQ(ReadFrame(store, 1, folder.Path("film.avi.moved"), found), "");
    EXPECT_FALSE(found);
    ASSERT_EQ(store.Execute("DELETE FROM tblFile WHERE FileID = 2"), "");
    ASSERT_EQ(DeleteOrphanRows(store), "");
    EXPECT_EQ(Ask("SELECT count(*) FROM rvFrame WHERE FileID = 2"), "0");
    // A frame made while its record went is not stored for it.
    ASSERT_EQ(StoreFrame(store, 2, folder.Path("song.mp3"), MakeFrame(folder.Path("film.avi"))), "");
    EXPECT_EQ(Ask("SELECT count(*) FROM rvFrame WHERE FileID = 2"), "0");
}

TEST_F(FramePassTest, TheCachesThumbnailIsUsedAndCancelKeepsWhatWasCommitted) {
    // A thumbnail in the cache of the file as it is now stands in for decoding it: this "film" is
    // text, so a frame can only have come from the cache.
    const std::string fake = folder.Write("fake.avi", "not a film");
    Add(fake);
    struct stat info {};
    ASSERT_EQ(stat(fake.c_str(), &info), 0);
    ASSERT_EQ(cache.Store(fake, info.st_mtime, info.st_size, std::vector<unsigned char>(64 * 48 * 3, 200), 64, 48), "");
    const MadeFrame made = MakeFrameOf(fake, &cache);
    EXPECT_TRUE(made.FromCache) << made.Made.Reason;
    EXPECT_EQ(made.Made.Width, 64);

    // Stopped before the second file: the first is stored, the rest still missing.
    int asked = 0;
    const FramePassResult stopped =
        MakeMissingFrames(store, &cache, {[&](int, int, const std::string&) { return asked++ < 1; }, nullptr, nullptr});
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(Missing(), (std::vector<int>{2, 3, 4}));

    const EnsuredFrame ensured = EnsureFrame(store, &cache, 4, fake);
    EXPECT_EQ(ensured.Error, "");
    ASSERT_TRUE(ensured.Found);
    EXPECT_EQ(ensured.Found->Height, 48);
    const EnsuredFrame away = EnsureFrame(store, &cache, 3, folder.Path("away.mkv"));
    EXPECT_FALSE(away.Found);
    EXPECT_NE(away.Reason.find("Could not make a frame"), std::string::npos) << away.Reason;
}

TEST_F(FramePassTest, AReadOnlyCatalogueShowsFramesAndStoresNone) {
    ASSERT_EQ(MakeMissingFrames(store, nullptr, {}).Made, 1);
    store.CloseDB();
    const ReadOnlyFile readOnly(folder.Path("db/c.rvd"));
    ASSERT_EQ(store.OpenDB(folder.Path("db/c.rvd")), "");
    ASSERT_TRUE(store.ReadOnly());
    std::optional<StoredFrame> found;
    EXPECT_EQ(ReadFrame(store, 1, folder.Path("film.avi"), found), "");
    EXPECT_TRUE(found);
    ASSERT_EQ(store.Execute("SELECT 1"), "");
    const FramePassResult result = MakeMissingFrames(store, nullptr, {});
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.Made, 0);
    EXPECT_FALSE(EnsureFrame(store, nullptr, 3, folder.Path("away.mkv")).Found);
    EXPECT_EQ(EnsureFrame(store, nullptr, 3, folder.Path("away.mkv")).Error, "");
}
