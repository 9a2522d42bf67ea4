// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/modSearch.h"

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

namespace {

class Search : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        for (const char* type : {"Audio", "Misc", "Video"}) SaveFileType(catalogue, -1, type, "", {});
        AddCategory(catalogue, "Live");
        Add("/m/abc one.avi", "O'Brien's day", 3, 2000, {"live", "rock"});
        Add("/m/abc two.avi", "", 3, 500, {"Live", "rock"});
        Add("/m/other.mp3", "x", 1, 5000, {"live"});
        ASSERT_EQ(catalogue.Reload(), "");
    }
    void Add(const std::string& name, const std::string& title, int type, std::int64_t size, std::vector<std::string> keywords) {
        ASSERT_EQ(InsertFile(catalogue, {-1, name, title, type, -1, "", size, 0, "", 0, std::move(keywords)}).Error, "");
    }
    std::vector<std::string> Names(const SearchResult& result) {
        std::vector<std::string> names;
        for (const FileRecord* record : result.Files) names.push_back(record->FileName);
        return names;
    }
};

}  // namespace

TEST_F(Search, BuildsOneConditionPerFieldInUse) {
    SearchFields fields;
    EXPECT_EQ(BuildSearchStatement(catalogue, fields), "SELECT tblFile.FileID FROM tblFile");
    fields.FileName = "abc";
    fields.Type = "Video";
    fields.Category = "Gone";  // no longer in the set: no condition
    fields.SizeComparison = ">";
    fields.Size = "1000";
    fields.LengthComparison = "=";  // without a number: no condition
    fields.RatingComparison = "";
    fields.Rating = "3";  // without a comparison: no condition
    EXPECT_EQ(BuildSearchStatement(catalogue, fields), "SELECT tblFile.FileID FROM tblFile WHERE tblFile.FileName LIKE "
                                                       "'%abc%' AND tblFile.Type = 3 AND tblFile.Size>1000");
    fields = {};
    fields.Title = "O'Brien";
    fields.CRC = "5%_";
    fields.FourCC = "X";
    EXPECT_EQ(BuildSearchStatement(catalogue, fields), "SELECT tblFile.FileID FROM tblFile WHERE tblFile.Title LIKE "
                                                       "'%O''Brien%' AND tblFile.CRC LIKE '%5%_%' AND tblFile.FourCC LIKE '%X%'");
    for (const auto& [typed, written] : {std::pair{"2k", "2"}, {"abc", "0"}, {" 2.50", "2.5"}, {"-1e3", "-1000"}, {"inf", "0"},
                                          {"-inf", "0"}, {"-nan", "0"}})
        EXPECT_EQ(LeadingNumber(typed), written) << typed;
}

TEST_F(Search, KeywordsNarrowTheRows) {
    SearchFields fields;
    fields.Title = "o'brien";  // LIKE ignores the case of ASCII letters
    EXPECT_EQ(Names(RunSearch(catalogue, fields)), std::vector<std::string>{"/m/abc one.avi"});
    fields = {};
    fields.FileName = "abc";
    fields.Keywords = {"live", "rock"};
    EXPECT_EQ(Names(RunSearch(catalogue, fields)), std::vector<std::string>{"/m/abc one.avi"});
    fields = {};
    fields.SizeComparison = "<";
    fields.Size = "2000";
    EXPECT_EQ(Names(RunSearch(catalogue, fields)), std::vector<std::string>{"/m/abc two.avi"});

    catalogue.Store.CloseDB();
    EXPECT_EQ(RunSearch(catalogue, {}).Error, "SQLite database not open");
}
