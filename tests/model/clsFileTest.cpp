// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsFile.h"

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

FileRecord Record(const std::string& fileName, const std::string& crc, std::vector<std::string> keywords = {}) {
    FileRecord record;
    record.FileName = fileName;
    record.CRC = crc;
    record.Keywords = std::move(keywords);
    return record;
}

class Files : public CatalogueTest {
protected:
    void Load() { ASSERT_EQ(files.LoadFromDatabase(catalogue.Store), ""); }
    int Insert(const FileRecord& record) {
        const NewKey inserted = InsertFile(catalogue, record);
        EXPECT_EQ(inserted.Error, "");
        return inserted.ID;
    }

    clsFile& files = catalogue.Files;
};

}  // namespace

TEST_F(Files, LoadInNameOrderWithKeywordsInTextOrder) {
    std::vector<std::string> many;
    for (int i = 60; i > 0; --i) many.push_back("k" + std::to_string(i));
    Insert(Record("/b.avi", "2", many));
    FileRecord full = Record("/a'b.mkv", "CBF43926", {"zed", "O'Neil", "alpha"});
    full.Title = "A title";
    full.TypeID = 0;
    full.Size = 5'000'000'000;
    full.Length = 2500;
    full.FourCC = "XVID";
    full.Rating = 4;
    full.FileID = Insert(full);
    Load();

    EXPECT_EQ(files.FileID(), -1);
    ASSERT_TRUE(files.MoveFirst());
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(*files.Current(), (FileRecord{full.FileID, "/a'b.mkv", "A title", 0, 0, "CBF43926", 5'000'000'000, 2500,
                                             "XVID", 4, {"O'Neil", "alpha", "zed"}}));
    EXPECT_EQ(files.LengthS(), 2);  // halves to even
    EXPECT_DOUBLE_EQ(files.LengthM(), 2.5 / 60);
    EXPECT_EQ(files.Keyword(3), "");
    ASSERT_TRUE(files.MoveNext());
    EXPECT_EQ(files.NumKeyword(), 60);  // all of them, not only the first fifty
    EXPECT_EQ(files.Keyword(0), "k1");
    EXPECT_EQ(files.Keyword(1), "k10");
    EXPECT_EQ(files.TypeID(), 0);  // NULL reads as 0
    EXPECT_FALSE(files.MoveNext());
    EXPECT_EQ(files.FileName(), "/b.avi");
}

TEST_F(Files, LookUpsLeaveTheLastMatchCurrent) {
    const int first = Insert(Record("/same.avi", "AAAA"));
    const int second = Insert(Record("/same.avi", "AAAA"));
    const int other = Insert(Record("/x.avi", "BBBB"));
    Load();
    ASSERT_TRUE(files.GotoFileName("/same.avi"));
    EXPECT_EQ(files.FileID(), second);
    EXPECT_TRUE(files.GotoCRC("AAAA"));
    EXPECT_EQ(files.FileID(), second);
    EXPECT_FALSE(files.GotoFileName("/SAME.avi"));
    EXPECT_FALSE(files.Modify(Record("/y.avi", "", {})));  // FileID -1 is nobody's
    EXPECT_EQ(files.FileID(), second);

    FileRecord moved = Record("/moved.avi", "BBBB", {"new"});
    moved.FileID = second;
    ASSERT_TRUE(files.Modify(moved));
    EXPECT_TRUE(files.GotoFileName("/same.avi"));
    EXPECT_EQ(files.FileID(), first);  // the earlier twin is found again
    EXPECT_TRUE(files.GotoCRC("BBBB"));
    EXPECT_EQ(files.FileID(), other);
    EXPECT_TRUE(files.GotoFileName("/moved.avi"));
    EXPECT_EQ(files.KeywordList(), std::vector<std::string>{"new"});

    files.AddTemporarily("/new.avi", "CCCC");
    EXPECT_EQ(files.Count(), 4);
    EXPECT_EQ(files.FileID(), second);  // the cursor stayed
    EXPECT_TRUE(files.GotoCRC("CCCC"));
    EXPECT_TRUE(files.GotoFileName("/new.avi"));
    EXPECT_EQ(files.FileID(), -1);
    EXPECT_EQ(files.Size(), 0);
}

TEST_F(Files, AFailedLoadLeavesAnEmptySet) {
    Insert(Record("/a.avi", "1", {"k"}));
    Load();
    ASSERT_EQ(catalogue.Store.Execute("DROP TABLE tblKeyword"), "");
    EXPECT_NE(files.LoadFromDatabase(catalogue.Store), "");
    EXPECT_EQ(files.Count(), 0);
}
