// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogues that cannot take a write just now or at all (another program's write lock, a
// read-only medium), and damaged ones.
#include <filesystem>

#include "common/Damage.h"
#include "common/ReadOnlyFile.h"
#include "model/modCatalogue.h"
#include "rvcli/RvcliFixture.h"
#include "store/modSchema.h"

namespace {

// One file of the type Video in the category Live, in a folder of its own.
class OneFile : public Rvcli {
protected:
    void SetUp() override {
        std::filesystem::create_directory(Path("disc"));
        Catalogue catalogue;
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, disc), "");
        ASSERT_EQ(SaveFileType(catalogue, -1, "Video", "", {"avi"}).Error, "");
        ASSERT_EQ(AddCategory(catalogue, "Live").Error, "");
        ASSERT_EQ(InsertFile(catalogue, {-1, Path("a.avi"), "", 1, 1, "", 1, 0, "", 0, {"k"}}).Error, "");
        folder.Write("new.avi", "new");
    }

    std::string disc = Path("disc/c.rvd");
};

}  // namespace

TEST_F(OneFile, AWriteWaitsForAnotherProgramThenFailsWithoutATraceAndWorksOnceItIsDone) {
    Catalogue other;
    ASSERT_EQ(OpenCatalogue(other.Store, disc), "");
    ASSERT_EQ(other.Store.Execute("BEGIN IMMEDIATE;"), "");
    ASSERT_EQ(AddCategory(other, "Theirs").Error, "");
    const Ran refused = Run({"add", disc, Path("new.avi"), "--no-crc"});  // waits the whole 3 s once
    EXPECT_EQ(refused, (Ran{1, "", std::string(kCatalogueBusy) + "\n"}));
    EXPECT_EQ(Ok({"category", disc, "list"}), "Live\n");  // reading goes on meanwhile
    ASSERT_EQ(other.Store.Execute("COMMIT;"), "");

    EXPECT_EQ(Ok({"add", disc, Path("new.avi"), "--no-crc"}), "2\n");
    EXPECT_EQ(Ok({"category", disc, "list"}), "Live\nTheirs\n");

    // Held so that nothing may even read it, it is as busy when opened as when written.
    ASSERT_EQ(other.Store.Execute("BEGIN EXCLUSIVE;"), "");
    EXPECT_EQ(Call({"list", disc}), (Ran{1, "", disc + ": " + kCatalogueBusy + "\n"}));
    ASSERT_EQ(other.Store.Execute("COMMIT;"), "");
}

TEST_F(OneFile, EveryWriteOfAReadOnlyCatalogueIsRefusedWhileReadingWorks) {
    const auto before = std::filesystem::last_write_time(disc);
    const ReadOnlyFile medium(disc);
    if (!medium.Usable()) GTEST_SKIP() << "cannot give up root rights";
    const std::vector<std::vector<std::string>> writes = {
        {"add", disc, Path("new.avi"), "--no-crc"}, {"update", disc, "1", "--title", "t"}, {"delete", disc, "1"},
        {"category", disc, "add", "Jazz"},          {"category", disc, "delete", "Live"}, {"type", disc, "save", "Audio", "--ext", "mp3"},
        {"type", disc, "delete", "Video"},          {"load", disc, folder.Root(), "*.avi", "--no-crc"},
        {"remove-missing", disc},                   {"detect-types", disc},
        {"detect-moved", disc, folder.Root()},      {"replace", disc, "a", "b"}};
    for (const auto& write : writes) {
        const Ran ran = Call(write);
        EXPECT_EQ(ran, (Ran{1, "", "The catalogue is read-only: " + disc + "\n"})) << write[0] << " " << write[2];
    }
    EXPECT_EQ(Call({"search", disc, "--name", "a.avi", "--format", "csv"}).Status, 0);
    EXPECT_EQ(Ok({"category", disc, "list"}), "Live\n");
    EXPECT_EQ(std::filesystem::last_write_time(disc), before);
}

TEST_F(OneFile, CheckSaysWhatIsWrongWithACatalogue) {
    EXPECT_EQ(Call({"check", disc}), (Ran{0, disc + ": the catalogue is in good order\n", ""}));
    const std::string zeroed = Path("zeroed.rvd");
    std::filesystem::copy_file(disc, zeroed);
    ZeroPage(zeroed);
    const Ran checked = Run({"check", zeroed});
    EXPECT_EQ(checked.Status, 1);
    EXPECT_TRUE(checked.Out.starts_with("SQLite's integrity check: ")) << checked.Out;
    EXPECT_TRUE(checked.Err.starts_with(zeroed + ": ") && checked.Err.ends_with(" found\n")) << checked.Err;

    {
        clsSQLite store;
        ASSERT_EQ(store.OpenDB(disc), "");
        ASSERT_EQ(store.Execute("UPDATE tblFile SET Size='big'"), "");
    }
    EXPECT_EQ(Call({"list", disc, "--format", "csv"}).Status, 0);  // it opens; check tells what is wrong
    EXPECT_EQ(Call({"check", disc}),
              (Ran{1, "1 file records hold something other than a whole number as Size\n", disc + ": 1 problem found\n"}));
}
