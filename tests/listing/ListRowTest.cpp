// SPDX-License-Identifier: GPL-3.0-or-later
#include "listing/ListRow.h"

#include <algorithm>

#include "model/CatalogueFixture.h"
#include "model/modCatalogue.h"
#include "listing/modListViewSort.h"

TEST_F(CatalogueTest, RowsShowNamesOfKnownTypesAndCategoriesAndTheKeywordText) {
    AddCategory(catalogue, "Live");
    SaveFileType(catalogue, -1, "Video", "", {"avi"});
    ASSERT_EQ(catalogue.Reload(), "");
    const FileRecord known{7, "/a.avi", "A", 1, 1, "1F", 5'000'000'000, 90000, "XVID", -2, {"live", "rock"}};
    EXPECT_EQ(RowTexts(catalogue, known),
              (ListRow{"/a.avi", "A", "Video", "Live", "1F", "5000000000", "90000", "XVID", "-2", "live, rock"}));
    const FileRecord unknown{8, "/b", "", 9, 0, "", 0, 0, "", 0, {}};
    EXPECT_EQ(RowTexts(catalogue, unknown), (ListRow{"/b", "", "", "", "", "0", "0", "", "0", ""}));
    EXPECT_EQ(RowKey(17), "KEY17");
}

TEST(ListSort, NumericColumnsOrderAsNumbersAndTextColumnsAsText) {
    EXPECT_EQ(InvertDigits("-0123456789.x"), " 9876543210.x");
    EXPECT_EQ(NumericSortKey("42"), std::string(28, '0') + "42." + std::string(30, '0'));
    EXPECT_EQ(NumericSortKey("0"), "&" + std::string(30, '9') + "." + std::string(30, '9'));
    EXPECT_EQ(NumericSortKey("abc"), "");

    std::vector<std::string> sizes = {"100", "9", "-10", "0", "x", "10", "-5", "2.5"};
    std::sort(sizes.begin(), sizes.end(), [](auto& a, auto& b) { return CompareCells(SizeColumn, a, b) < 0; });
    EXPECT_EQ(sizes, (std::vector<std::string>{"x", "-10", "-5", "0", "2.5", "9", "10", "100"}));
    std::vector<std::string> titles = {"b", "10", "B", "a", "9"};
    std::sort(titles.begin(), titles.end(), [](auto& a, auto& b) { return CompareCells(TitleColumn, a, b) < 0; });
    EXPECT_EQ(titles, (std::vector<std::string>{"10", "9", "a", "B", "b"}));
}
