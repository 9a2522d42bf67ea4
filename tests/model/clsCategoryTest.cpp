// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clsCategory.h"

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"

TEST_F(CatalogueTest, CategoriesLoadInNameOrderWithTheFirstCurrent) {
    clsCategory& categories = catalogue.Categories;
    EXPECT_FALSE(categories.MoveFirst());
    EXPECT_EQ(categories.CategoryID(), -1);
    EXPECT_EQ(categories.Category(), "");
    for (const char* name : {"Rock", "rock", "O'Brien", "  "}) EXPECT_TRUE(AddCategory(catalogue, name).Done) << name;
    ASSERT_EQ(categories.Count(), 4);
    EXPECT_EQ(categories.Category(), "  ");  // the reload made the first one current
    const Outcome again = AddCategory(catalogue, "Rock");
    EXPECT_FALSE(again.Done);
    EXPECT_EQ(again.Error, "");
    EXPECT_EQ(Ask("SELECT count(*) FROM tblCategory"), "4");

    ASSERT_TRUE(categories.MoveFirst());
    std::vector<std::string> names;
    do names.push_back(categories.Category());
    while (categories.MoveNext());
    EXPECT_EQ(names, (std::vector<std::string>{"  ", "O'Brien", "Rock", "rock"}));
    EXPECT_EQ(categories.Category(), "rock");  // stayed on the last row
    EXPECT_FALSE(categories.GotoCategoryName("ROCK"));
    EXPECT_FALSE(categories.GotoCategoryID(99));
    EXPECT_EQ(categories.Category(), "rock");
    EXPECT_TRUE(categories.GotoCategoryName("O'Brien"));
    EXPECT_TRUE(categories.GotoCategoryID(categories.CategoryID()));
}

TEST_F(CatalogueTest, DeletingACategoryClearsItFromItsFilesInOneStep) {
    AddCategory(catalogue, "Jazz");
    AddCategory(catalogue, "Pop");
    catalogue.Categories.GotoCategoryName("Jazz");
    FileRecord record;
    record.FileName = "/m/a.mp3";
    record.CategoryID = catalogue.Categories.CategoryID();
    InsertFile(catalogue, record);

    Refuse("DELETE", "tblCategory");
    const Outcome refused = DeleteCategory(catalogue, "Jazz");
    EXPECT_FALSE(refused.Done);
    EXPECT_NE(refused.Error.find("refused"), std::string::npos);
    EXPECT_EQ(Ask("SELECT Category FROM tblFile"), std::to_string(record.CategoryID));

    ASSERT_EQ(catalogue.Store.Execute("DROP TRIGGER refuse"), "");
    EXPECT_FALSE(DeleteCategory(catalogue, "Blues").Done);
    EXPECT_TRUE(DeleteCategory(catalogue, "Jazz").Done);
    EXPECT_EQ(Ask("SELECT count(*) FROM tblFile WHERE Category IS NULL"), "1");
    EXPECT_EQ(catalogue.Categories.Count(), 1);
    EXPECT_EQ(catalogue.Categories.Category(), "Pop");
}
