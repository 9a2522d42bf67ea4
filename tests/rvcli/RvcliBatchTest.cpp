// SPDX-License-Identifier: GPL-3.0-or-later
#include <nlohmann/json.hpp>

#include "model/modCatalogue.h"
#include "rvcli/RvcliFixture.h"
#include "store/modSchema.h"

namespace {

class BatchUpdate : public Rvcli {
protected:
    void SetUp() override {
        Catalogue catalogue;
        ASSERT_EQ(CreateNewDatabase(catalogue.Store, cat), "");
        ASSERT_TRUE(AddCategory(catalogue, "Live").Done);
        for (const char* name : {"/m/a.avi", "/m/b.avi", "/m/c.avi"})
            ASSERT_EQ(InsertFile(catalogue, {-1, name, "t", -1, -1, "", 1, 0, "", 0, {"old", "x"}}).Error, "");
    }
    // Category, rating and keywords of each record, by FileID.
    std::string Fields() {
        std::string text;
        for (const nlohmann::json& file : nlohmann::json::parse(Ok({"list", cat, "--format", "json"})))
            text += file["FileID"].dump() + ":" + file["Category"].get<std::string>() + "," + file["Rating"].dump() + "," +
                    file["Keywords"].dump() + " ";
        return text;
    }
};

TEST_F(BatchUpdate, SeveralRecordsTakeOneChange) {
    EXPECT_EQ(Run({"update", cat, "1", "3", "--category", "Live", "--rating", "4", "--add-keyword", "new",
                   "--remove-keyword", "old", "--add-keyword", "x"}),
              (Ran{0, "", "Changed 2 records\n"}));
    EXPECT_EQ(Fields(), R"(1:Live,4,["new","x"] 2:,0,["old","x"] 3:Live,4,["new","x"] )");
    // One record takes them as well, beside the fields only one record can have.
    EXPECT_EQ(Ok({"update", cat, "2", "--title", "T", "--remove-keyword", "x", "--add-keyword", "y"}), "");
    EXPECT_EQ(Fields(), R"(1:Live,4,["new","x"] 2:,0,["old","y"] 3:Live,4,["new","x"] )");
}

TEST_F(BatchUpdate, RecordsGoneAreNamedAndTheRestSaved) {
    EXPECT_EQ(Call({"update", cat, "1", "7", "2", "8", "--rating", "9"}),
              (Ran{1, "", "Changed 2 records\nFileIDs 7, 8 were not changed: they are no longer in the catalogue.\n"}));
    EXPECT_EQ(Fields(), R"(1:,9,["old","x"] 2:,9,["old","x"] 3:,0,["old","x"] )");
    const std::string refused = "With several FileIDs only --type, --category, --rating, --add-keyword and --remove-keyword apply\n";
    for (const char* option : {"--title", "--path", "--keyword"})
        EXPECT_EQ(Call({"update", cat, "1", "2", option, "v"}), (Ran{1, "", refused})) << option;
    EXPECT_EQ(Call({"update", cat, "1", "2", "--category", "Gone"}), (Ran{1, "", "No category named Gone\n"}));
    EXPECT_EQ(Run({"update", cat, "1", "--keyword", "a", "--add-keyword", "b"}).Status, 2);
}

}  // namespace
