// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchEdit.h"

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

class BatchEditTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        ASSERT_TRUE(AddCategory(catalogue, "Old").Done);
        ASSERT_TRUE(AddCategory(catalogue, "New").Done);
        const std::vector<std::vector<std::string>> keywords{{"old", "zoo"}, {"old"}, {"added", "old"}, {"old"}};
        for (std::size_t i = 0; i < keywords.size(); ++i)
            ASSERT_EQ(InsertFile(catalogue, {-1, "/m/f" + std::to_string(i), "", -1, 1, "", 1, 0, "", 2, keywords[i]}).Error, "");
        ASSERT_EQ(catalogue.Reload(), "");
    }
    // The record as a fresh load of the file reads it.
    FileRecord Stored(int id) {
        Catalogue second;
        EXPECT_EQ(second.Store.OpenDB(folder.Path("test.rvd")), "");
        EXPECT_EQ(second.Reload(), "");
        EXPECT_TRUE(second.Files.GotoFileID(id));
        return *second.Files.Current();
    }

    BatchChange change{2, std::nullopt, 5, {"added", ""}, {"old"}};
};

TEST_F(BatchEditTest, ChangesEveryRecordStillThereAndNamesTheRest) {
    ASSERT_EQ(Ask("DELETE FROM tblFile WHERE FileID=2;"), "");  // as another program might meanwhile
    const BatchOutcome outcome = WriteBatch(catalogue.Store, {3, 2, 1, 3, 9}, change);
    EXPECT_EQ(outcome.Error, "");
    EXPECT_EQ(outcome.Saved, (std::vector<int>{3, 1}));
    EXPECT_EQ(outcome.Missing, (std::vector<int>{2, 9}));
    EXPECT_EQ(MissingSentence(outcome.Missing), "FileIDs 2, 9 were not changed: they are no longer in the catalogue.");
    EXPECT_EQ(Stored(1).Keywords, (std::vector<std::string>{"added", "zoo"}));
    EXPECT_EQ(Stored(3).Keywords, (std::vector<std::string>{"added"}));  // not twice
    EXPECT_EQ(Stored(4).Keywords, (std::vector<std::string>{"old"}));
    EXPECT_EQ(Stored(4).CategoryID, 1);
    // The set the window shows then reads as the file does.
    ApplyBatchToSet(catalogue.Files, outcome.Saved, change);
    for (const int id : {1, 3}) {
        ASSERT_TRUE(catalogue.Files.GotoFileID(id));
        EXPECT_EQ(*catalogue.Files.Current(), Stored(id)) << "FileID " << id;
        EXPECT_EQ(Stored(id).CategoryID, 2);
        EXPECT_EQ(Stored(id).Rating, 5);
    }
}

TEST_F(BatchEditTest, NoneAsCategoryReadsAsALoadReadsIt) {
    const BatchChange none{-1, -1, std::nullopt, {}, {}};
    const BatchOutcome outcome = WriteBatch(catalogue.Store, {1, 2}, none);
    ASSERT_EQ(outcome.Error, "");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFile WHERE Category IS NULL AND Type IS NULL;"), "2");
    ApplyBatchToSet(catalogue.Files, outcome.Saved, none);
    ASSERT_TRUE(catalogue.Files.GotoFileID(2));
    EXPECT_EQ(*catalogue.Files.Current(), Stored(2));
}

TEST_F(BatchEditTest, AFailureLeavesEveryRecordAsItWas) {
    for (const auto& [when, table] : std::vector<std::pair<std::string, std::string>>{
             {"INSERT", "tblFileKeywordJunction"}, {"UPDATE", "tblFile"}, {"DELETE", "tblFileKeywordJunction"}}) {
        Refuse(when, table);
        const BatchOutcome outcome = WriteBatch(catalogue.Store, {1, 2, 3, 4}, change);
        EXPECT_NE(outcome.Error, "") << when << " " << table;
        EXPECT_TRUE(outcome.Saved.empty());
        EXPECT_EQ(Ask("SELECT count(*) FROM tblFile WHERE Category=1 AND Rating=2;"), "4");
        EXPECT_EQ(Ask("SELECT count(*) FROM tblFileKeywordJunction;"), "6");
        ASSERT_EQ(Ask("DROP TRIGGER refuse;"), "");
    }
}

}  // namespace
