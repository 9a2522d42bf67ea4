// SPDX-License-Identifier: GPL-3.0-or-later
// A catalogue that another program writes at the same time, and one this program may only read.
#include <filesystem>

#include "common/ReadOnlyFile.h"
#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

FileRecord Named(const std::string& path) {
    FileRecord record;
    record.FileName = path;
    record.Keywords = {"live"};
    return record;
}

}  // namespace

TEST_F(CatalogueTest, AWriteWhileAnotherProgramWritesFailsWholeThenSucceeds) {
    ASSERT_EQ(InsertFile(catalogue, Named("/m/first.avi")).Error, "");
    ASSERT_EQ(catalogue.Reload(), "");
    Catalogue other;
    ASSERT_EQ(OpenCatalogue(other.Store, folder.Path("test.rvd")), "");
    ASSERT_EQ(other.Store.Execute("BEGIN IMMEDIATE;"), "");
    ASSERT_EQ(InsertFile(other, Named("/m/theirs.avi")).Error, "");  // not committed yet
    catalogue.Store.SetBusyTimeout(50);

    ASSERT_TRUE(catalogue.Files.GotoFileName("/m/first.avi"));
    FileRecord changed = *catalogue.Files.Current();
    changed.Title = "changed";
    EXPECT_EQ(InsertFile(catalogue, Named("/m/mine.avi")).Error, kCatalogueBusy);
    EXPECT_EQ(UpdateFile(catalogue, changed), kCatalogueBusy);
    EXPECT_EQ(DeleteFile(catalogue, changed.FileID), kCatalogueBusy);
    EXPECT_EQ(AddCategory(catalogue, "Live").Error, kCatalogueBusy);
    EXPECT_EQ(SaveFileType(catalogue, -1, "Video", "", {"avi"}).Error, kCatalogueBusy);
    ASSERT_EQ(other.Store.Execute("COMMIT;"), "");

    EXPECT_EQ(Ask("SELECT group_concat(FileName || '/' || ifnull(Title, ''), ' ') FROM tblFile"), "/m/first.avi/ /m/theirs.avi/");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFileKeywordJunction"), "2");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblCategory") + Ask("SELECT count(*) FROM tblFileType"), "00");
    EXPECT_EQ(UpdateFile(catalogue, changed), "");
    EXPECT_EQ(InsertFile(catalogue, Named("/m/mine.avi")).Error, "");
    ASSERT_EQ(catalogue.Reload(), "");
    EXPECT_EQ(catalogue.Files.Count(), 3);
    EXPECT_TRUE(catalogue.Files.GotoFileName("/m/theirs.avi"));
}

TEST_F(CatalogueTest, ACatalogueThatCannotBeWrittenOpensForReadingOnly) {
    std::filesystem::create_directory(folder.Path("disc"));
    const std::string path = folder.Path("disc/c.rvd");
    {
        Catalogue made;
        ASSERT_EQ(CreateNewDatabase(made.Store, path), "");
        ASSERT_EQ(InsertFile(made, Named("/m/first.avi")).Error, "");
    }
    const auto before = std::filesystem::last_write_time(path);
    const ReadOnlyFile medium(path);
    if (!medium.Usable()) GTEST_SKIP() << "cannot give up root rights";
    Catalogue readOnly;
    ASSERT_EQ(OpenCatalogue(readOnly.Store, path), "");
    EXPECT_TRUE(readOnly.Store.ReadOnly());
    ASSERT_EQ(readOnly.Reload(), "");
    EXPECT_TRUE(readOnly.Files.GotoFileName("/m/first.avi"));
    const std::string refused = "The catalogue is read-only: " + path;
    EXPECT_EQ(InsertFile(readOnly, Named("/m/mine.avi")).Error, refused);
    EXPECT_EQ(AddCategory(readOnly, "Live").Error, refused);
    EXPECT_EQ(DeleteFile(readOnly, 1), refused);
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    EXPECT_FALSE(catalogue.Store.ReadOnly());
}
